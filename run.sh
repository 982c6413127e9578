#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on a demo installation.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
if [ -x build/app/kxorders ]; then
  exec ./scripts/run-demo.sh "$@"
fi
# Until the main window exists: show the table tool on a generated demo price list.
demo=demo-data
mkdir -p "$demo"
echo "The main window is not built yet; showing the table tool on a demo price list in $demo/price.dbf."
build/tools/kxdemo "$demo"
build/tools/kxdbf dump "$demo/price.dbf" | head -n 40
