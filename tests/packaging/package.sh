#!/bin/sh
# Makes the Debian package from the build, unpacks it into a temporary root
# with dpkg-deb and runs the unpacked program with --version, offscreen.
# Exit code 77 (skipped) when cpack or the Debian packaging tools are missing.
# usage: package.sh CPACK BUILD_DIR
set -eu
cpack=$1
build=$2
for tool in "$cpack" dpkg-deb dpkg-shlibdeps; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$cpack" -G DEB -B "$work" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; exit 1; }
set -- "$work"/trevolo_*.deb
[ -f "$1" ] || { echo "no package made"; cat "$work/cpack.log"; exit 1; }
echo "made $(basename "$1")"

# Dependencies come from dpkg-shlibdeps: Qt's widget library must be one.
depends=$(dpkg-deb -f "$1" Depends)
echo "Depends: $depends"
case $depends in *libqt6widgets6*) ;; *) echo "Qt is missing from Depends"; exit 1 ;; esac

dpkg-deb -x "$1" "$work/root"
version=$(QT_QPA_PLATFORM=offscreen "$work/root/usr/bin/trevolo" --version)
echo "$version"
[ "$version" = "Trevolo 1.3.0" ]
