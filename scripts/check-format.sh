#!/usr/bin/env bash
# Fails when a C++ file differs from what clang-format makes of it (.clang-format).
set -euo pipefail
cd "$(dirname "$0")/.."
files=$(git ls-files -- '*.cpp' '*.h')
if ! clang-format --dry-run --Werror $files; then
  echo "format: the files above differ from .clang-format; run: clang-format -i \$(git ls-files '*.cpp' '*.h')"
  exit 1
fi
echo "format: every file matches .clang-format"
