#!/usr/bin/env bash
# Installs what the build needs, builds everything and runs the whole test suite headless.
# Arguments go to CMake when it configures the build (.ci/run: -DBRANTOCK_WERROR=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja "$@"
cmake --build build --parallel

# File permissions do not bind root, so the tests of refused access skip there; run them
# as an ordinary user too when the build can be reached as one.
if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null; then
  as_nobody=(setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME=/tmp QT_QPA_PLATFORM=offscreen)
  if "${as_nobody[@]}" test -x build/tests/platform_settings_tests 2>/dev/null; then
    echo "Tests of refused access, as an ordinary user:"
    "${as_nobody[@]}" build/tests/platform_settings_tests --gtest_filter='*ForOrdinaryUsers*' --gtest_brief=1
    "${as_nobody[@]}" build/tests/platform_serial_tests --gtest_filter='*ForOrdinaryUsers*' --gtest_brief=1
    "${as_nobody[@]}" build/tests/counter_core_tests --gtest_filter='*ForOrdinaryUsers*' --gtest_brief=1
    "${as_nobody[@]}" build/tests/counter_window_tests --gtest_filter='*ForOrdinaryUsers*' --gtest_brief=1
    "${as_nobody[@]}" build/tests/platform_report_export_tests --gtest_filter='*ForOrdinaryUsers*' --gtest_brief=1
  fi
fi

QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure --parallel "$(nproc)"
