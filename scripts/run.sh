#!/usr/bin/env bash
# Builds the counter and starts it; any arguments go to the counter (PORT=3,TAG=North, ...).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build --parallel --target brantock
exec build/bin/brantock "$@"
