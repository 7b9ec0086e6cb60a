#!/bin/sh
# Installs the build into a temporary prefix and validates the menu entry and
# the AppStream description there. Exit code 77 (skipped) when a validator is
# missing (./scripts/test installs both).
# usage: installed_files.sh CMAKE BUILD_DIR
set -eu
cmake=$1
build=$2
for tool in desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed"; exit 77; }
done
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
"$cmake" --install "$build" --prefix "$prefix" >/dev/null

id=example.trevolo.Trevolo
for f in bin/trevolo share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
         share/trevolo/english.ini share/icons/hicolor/scalable/apps/$id.svg; do
    [ -f "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done
for size in 16 32 48 64 128 256; do
    icon=$prefix/share/icons/hicolor/${size}x$size/apps/$id.png
    [ -f "$icon" ] || { echo "not installed: $icon"; exit 1; }
done
desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"
