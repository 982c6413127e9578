#!/usr/bin/env bash
# Builds the Debian package from a build folder, unpacks it into a scratch
# root (dpkg -x) and starts the installed program there headless, as a new
# user would start it for the first time.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${KX_BUILD_DIR:-build}
app_id=org.kxorders.KXOrders

fail() { echo "package: $*" >&2; exit 1; }

rm -f "$build"/kxorders_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/kxorders_*.deb)
echo "package: $deb"
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "no Qt among the dependencies"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
dpkg -x "$deb" "$root"

for file in usr/bin/KXOrders usr/bin/kxdbf usr/bin/kxexchange "usr/share/applications/$app_id.desktop" \
            "usr/share/icons/hicolor/scalable/apps/$app_id.svg" "usr/share/metainfo/$app_id.metainfo.xml"; do
  [ -f "$root/$file" ] || fail "$file is not in the package"
done
compgen -G "$root/usr/lib/kxorders/libKXOrder.so" >/dev/null \
  || compgen -G "$root/usr/lib/*/kxorders/libKXOrder.so" >/dev/null || fail "the transfer library is not in the package"
desktop-file-validate "$root/usr/share/applications/$app_id.desktop"
appstreamcli validate --no-net --no-color "$root/usr/share/metainfo/$app_id.metainfo.xml" >/dev/null \
  || appstreamcli validate --no-net --no-color "$root/usr/share/metainfo/$app_id.metainfo.xml"

# A new user without settings: the installed program writes the user's folder
# with the demo data and keeps running (an error would be printed and end it
# or leave it waiting behind a message box).
export HOME=$scratch/home XDG_DATA_HOME=$scratch/home/.local/share QT_QPA_PLATFORM=offscreen
user_folder=$XDG_DATA_HOME/KXOrders
mkdir -p "$HOME"
status=0
timeout 15 "$root/usr/bin/KXOrders" --demo 2>"$scratch/stderr" || status=$?
[ "$status" -eq 124 ] || { cat "$scratch/stderr" >&2; fail "the installed program ended with status $status"; }
if grep -q '^KXOrders: ' "$scratch/stderr"; then cat "$scratch/stderr" >&2; fail "the installed program reported an error"; fi
for file in KXOrders.ini properties.ini IN/price.dbf Reference/SubCustomer.dbf KXOrder.ini; do
  [ -f "$user_folder/$file" ] || fail "first start wrote no $file into $user_folder"
done

# A second start finds the installation and asks nothing.
status=0
timeout 10 "$root/usr/bin/KXOrders" 2>"$scratch/stderr" || status=$?
[ "$status" -eq 124 ] || { cat "$scratch/stderr" >&2; fail "the second start ended with status $status"; }

# The installed tools work on the installed data.
"$root/usr/bin/kxdbf" dump "$user_folder/Reference/SubCustomer.dbf" >/dev/null
echo "package: installs and starts"
