#!/usr/bin/env bash
# The engine, settings, ordering and exchange suites built and run with
# AddressSanitizer and UndefinedBehaviorSanitizer (the "sanitize" preset).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1
status=0
for suite in tables/tables_tests config/config_tests ordering/ordering_tests exchange/exchange_tests; do
  echo "== sanitized: $suite"
  build-sanitize/tests/$suite --gtest_brief=1 || status=1
done
exit $status
