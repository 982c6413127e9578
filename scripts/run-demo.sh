#!/usr/bin/env bash
# Writes a demo installation into build/demo-data once, puts the freshly built
# program into it (its settings files live beside the executable) and starts
# it there. Without a display it saves a picture of the main window instead.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${KX_BUILD_DIR:-build}
demo=${KX_DEMO_DIR:-$build/demo-data}

if [ ! -f "$demo/KXOrders.ini" ]; then
  "$build/demo/kxdemo" "$demo" --program "$build/app/KXOrders"
else
  # The program may have been rebuilt; the running copy may be busy.
  cp --remove-destination "$build/app/KXOrders" "$demo/KXOrders"
  cp --remove-destination "$build/app/libKXOrder.so" "$demo/libKXOrder.so"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found: saving a picture of the main window to $demo/screenshot.png instead."
  echo "(On a desktop, ./run.sh opens the window itself; or run: xvfb-run ./scripts/run-demo.sh)"
  QT_QPA_PLATFORM=offscreen "$build/app/kxorders-shot" "$demo" "$demo/screenshot.png" pmPrice pmReference
  exit 0
fi
exec "$demo/KXOrders" "$@"
