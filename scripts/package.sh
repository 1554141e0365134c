#!/usr/bin/env bash
# Builds the Debian package of ORYX: build/default/oryx_<version>_<arch>.deb
# (or in $ORYX_BUILD_DIR when set).
#
#   scripts/package.sh           build the package
#   scripts/package.sh --check   build it, lint it, install it with apt-get,
#                                check what it put in place, and remove it again
#
# The check changes the system (it needs root or sudo), so it refuses to run
# when a package named oryx is already installed. Dependencies apt-get pulls
# in for the check stay installed.
set -euo pipefail
cd "$(dirname "$0")/.."
check=0
case "${1:-}" in
  "") ;;
  --check) check=1 ;;
  *) echo "usage: scripts/package.sh [--check]" >&2; exit 2 ;;
esac

scripts/install-deps.sh
build="${ORYX_BUILD_DIR:-build/default}"
cmake --preset default -B "$build"
cmake --build "$build" -j2
(cd "$build" && rm -f oryx_*.deb && cpack -G DEB)
deb=$(ls "$build"/oryx_*.deb)
dpkg-deb --field "$deb" Package Version Depends
echo "built $deb"
[ "$check" -eq 1 ] || exit 0

# lintian: no error and no warning (the overrides, each with its reason, are
# in packaging/lintian-overrides).
lintian --fail-on error,warning --display-info "$deb" || { echo "lintian found faults in $deb" >&2; exit 1; }
echo "lintian: no errors, no warnings"

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
if dpkg-query -W -f='${Status}' oryx 2>/dev/null | grep -q 'install ok installed'; then
  echo "a package named oryx is installed already; not touching it" >&2
  exit 1
fi
case "$deb" in /*) ;; *) deb="./$deb" ;; esac
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "$deb"
trap '$SUDO dpkg -r oryx >/dev/null' EXIT

status=0
installed=$(dpkg -L oryx)
expect() {
  if grep -qxF "$1" <<<"$installed"; then echo "installed: $1"; else echo "MISSING: $1" >&2; status=1; fi
}
expect /usr/bin/oryx
expect /usr/bin/oryx-cli
app_id=$(grep -m1 -oP '^set\(ORYX_APP_ID \K[^)]+' CMakeLists.txt)
expect "/usr/share/applications/$app_id.desktop"
expect "/usr/share/metainfo/$app_id.metainfo.xml"
expect /usr/share/man/man1/oryx.1.gz
expect /usr/share/man/man1/oryx-cli.1.gz
expect /usr/share/bash-completion/completions/oryx-cli
expect /usr/share/icons/hicolor/scalable/apps/oryx.svg
for size in 16 32 48 64 128 256; do expect "/usr/share/icons/hicolor/${size}x${size}/apps/oryx.png"; done
expect "/usr/share/doc/oryx/examples/ORYX Reports.cfg"

desktop-file-validate "/usr/share/applications/$app_id.desktop" || status=1
appstreamcli validate --no-net "/usr/share/metainfo/$app_id.metainfo.xml" || status=1
for page in oryx oryx-cli; do
  found=$(man -w "$page") && echo "man -w $page: $found" || { echo "man -w $page finds nothing" >&2; status=1; }
done
# The completion loads and offers the commands.
commands=$(bash -c 'source /usr/share/bash-completion/completions/oryx-cli && complete -p oryx-cli >/dev/null &&
  COMP_WORDS=(oryx-cli "") COMP_CWORD=1 && _oryx_cli && echo "${COMPREPLY[*]}"') || commands=""
[[ " $commands " == *" tree "* ]] && echo "completion: $commands" || { echo "the completion offers no commands" >&2; status=1; }
# Both programs print the package's version, the window program without a display.
version=$(dpkg-query -W -f='${Version}' oryx)
for program in oryx-cli oryx; do
  printed=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "/usr/bin/$program" --version) || printed=""
  [ "$printed" = "$program $version" ] && echo "$printed" || { echo "$program --version printed '$printed', not '$program $version'" >&2; status=1; }
done
for program in /usr/bin/oryx /usr/bin/oryx-cli; do
  if ldd "$program" | grep 'not found'; then echo "$program lacks libraries" >&2; status=1; fi
done
/usr/bin/oryx-cli tree /usr/share/doc/oryx/examples/node31-startprov.txt >/dev/null || status=1
# The window program starts, shows its main window headless and keeps running
# until the timeout ends it (status 124).
settings=$(mktemp -d)
XDG_CONFIG_HOME="$settings" QT_QPA_PLATFORM=offscreen timeout 3 /usr/bin/oryx && rc=0 || rc=$?
rm -rf "$settings"
[ "$rc" -eq 124 ] || { echo "oryx ended with status $rc" >&2; status=1; }

[ "$status" -eq 0 ] && echo "package check passed" || echo "package check FAILED" >&2
exit "$status"
