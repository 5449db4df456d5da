#!/usr/bin/env bash
# Builds the Debian package from a built tree, installs it with apt, runs the
# installed programs from their installed paths, and removes the package.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${VELMORA_BUILD_DIR:-$top/build}" && pwd)
sudo=""
[ "$(id -u)" = 0 ] || sudo=sudo

(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/velmora_*.deb | head -1)
echo "== package $(basename "$deb")"
dpkg-deb --info "$deb" | grep -E 'Depends|Recommends'
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$deb" >/dev/null
trap 'DEBIAN_FRONTEND=noninteractive $sudo apt-get remove -y -qq velmora >/dev/null || true' EXIT

work=$(mktemp -d /tmp/velmora-package.XXXXXX)
[ -x /usr/bin/velmora ] && [ -x /usr/bin/velmora-cli ] || { echo "programs not installed in /usr/bin"; exit 1; }
[ -f /usr/share/applications/velmora.desktop ] || { echo "launcher entry not installed"; exit 1; }
[ -f /usr/share/icons/hicolor/scalable/apps/velmora.svg ] || { echo "icon not installed"; exit 1; }
# the guide the help menu opens, with its pictures, and the toolkit's Thai catalogue
[ -f "/usr/share/velmora/docs/คู่มือการใช้งาน.md" ] || { echo "Thai guide not installed"; exit 1; }
[ -f /usr/share/velmora/docs/screens/screen-frmCalculate_Money.png ] || { echo "guide pictures not installed"; exit 1; }
[ -f /usr/share/velmora/translations/velmora_th.qm ] || { echo "Thai catalogue not installed"; exit 1; }
/usr/bin/velmora-cli --help >"$work/help.txt"
grep -q 'init' "$work/help.txt"
(cd "$work" && /usr/bin/velmora-cli --db "sqlite:$work/demo.sqlite" init --demo)
/usr/bin/velmora-cli --db "sqlite:$work/demo.sqlite" baht 12345.67
printf 'demo1234\n' | /usr/bin/velmora-cli --db "sqlite:$work/demo.sqlite" --login demo report contract-end >"$work/report.csv"
[ "$(wc -l <"$work/report.csv")" -gt 1 ] || { echo "the installed program listed nothing"; exit 1; }
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM /usr/bin/velmora 2>&1 || true)
grep -q 'velmora-cli' <<<"$out" || { echo "velmora without a display: $out"; exit 1; }
rm -rf "$work"
echo "package: installed, ran and removed"
