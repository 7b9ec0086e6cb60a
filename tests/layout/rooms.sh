#!/bin/sh
# The rooms of src/app include only rooms below them: memo/, widgets/ and
# desktop/ know none of the windows, the child windows never include the main
# window, and mainwindow/ is included only by the program start. (The five
# widget-free folders are held apart by the build: their library links Qt
# Core only.)
src=${1:?usage: rooms.sh SOURCE_DIR}/src/app
cd "$src" || exit 1
found=$(
    grep -rn '#include "app/\(mainwindow\|analysiswindow\|entrypad\|systemwindow\|helpwindow\)/' memo widgets desktop
    grep -rn '#include "app/mainwindow/' analysiswindow entrypad systemwindow helpwindow
    grep -rln '#include "app/mainwindow/' . | grep -v '^\./mainwindow/' |
        grep -v '^\./Project1\.cpp$' | grep -v '^\./main\.cpp$'
)
if [ -n "$found" ]; then
    echo "includes that cross the rooms the wrong way:"
    echo "$found"
    exit 1
fi
echo "rooms: every include goes downwards"
