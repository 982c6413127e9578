#!/usr/bin/env bash
# Every C++ file as .clang-format lays it out; the names of those that are not.
set -euo pipefail
cd "$(dirname "$0")/.."
bad=$(git ls-files '*.cpp' '*.h' | while read -r f; do clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || echo "$f"; done)
if [ -n "$bad" ]; then
  echo "not formatted (clang-format -i FILE):"
  echo "$bad"
  exit 1
fi
echo "format: every file as .clang-format has it"
