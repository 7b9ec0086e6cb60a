#!/bin/sh
# The rooms of src/app include only rooms below them: memo/, widgets/ and
# desktop/ know none of the windows, the child windows include neither the
# main window nor the memo (they follow the history itself), and mainwindow/
# is included only by the program start. The widget-free folders that the
# windows read (history/, analysis/, system/) include no window and no
# widget or GUI header: pass Qt's QtWidgets and QtGui include folders after
# the source folder to check the headers by name.
src=${1:?usage: rooms.sh SOURCE_DIR [QT_WIDGET_HEADER_DIR...]}/src
shift
cd "$src/app" || exit 1
found=$(
    grep -rn '#include "app/\(mainwindow\|analysiswindow\|entrypad\|systemwindow\|helpwindow\|importwindow\|reportwindow\|tablesform\)/' memo widgets desktop
    grep -rn '#include "app/\(mainwindow\|memo\)/' analysiswindow entrypad systemwindow helpwindow importwindow reportwindow tablesform
    grep -rln '#include "app/mainwindow/' . | grep -v '^\./mainwindow/' |
        grep -v '^\./Project1\.cpp$' | grep -v '^\./main\.cpp$'
    grep -rn '#include "app/\|#include <Qt\(Widgets\|Gui\)/' ../history ../analysis ../system
    grep -rn '^#include <Q[A-Za-z0-9]*>' ../history ../analysis ../system |
        while IFS= read -r line; do
            name=${line#*<}
            name=${name%%>*}
            for dir in "$@"; do
                if [ -e "$dir/$name" ]; then
                    echo "$line"
                fi
            done
        done
)
if [ -n "$found" ]; then
    echo "includes that cross the rooms the wrong way:"
    echo "$found"
    exit 1
fi
echo "rooms: every include goes downwards"
