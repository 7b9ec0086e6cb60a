#pragma once

#include "app/widgets/CloseKeys.h"
#include "app/widgets/WindowPlacement.h"
#include "history/SpinHistory.h"

#include <QKeySequence>
#include <QList>
#include <QString>

class QWidget;

namespace trevolo {

// Puts a window of its own beside `owner`'s window on the available area of
// its screen as `placement` asks (PlaceBeside). The window's frame is taken
// for the owner's until the window has been shown and has one of its own.
void PlaceChildWindow(QWidget &window, const QWidget &owner, const Placement &placement);

// A child window's title with the name of the table it shows after a dash,
// or alone when `tableName` is empty (a window of one table).
QString TableTitle(const QString &title, const QString &tableName);

// A child window following the current table: its title names the table;
// when `history` is not the one `followed` yet, the window's `slot` moves
// from the old one's edits (`link`) to its, and the answer is true (the
// window then shows what the new one holds).
template <typename Window, typename Slot>
bool FollowTable(Window &window, const QString &title, const QString &tableName,
                 const SpinHistory *&followed, QMetaObject::Connection &link,
                 const SpinHistory &history, Slot slot)
{
    window.setWindowTitle(TableTitle(title, tableName));
    if (followed == &history)
        return false;
    QObject::disconnect(link);
    followed = &history;
    link = QObject::connect(followed, &SpinHistory::edited, &window, slot);
    return true;
}

// Shows a child window, raises it and makes it the active one.
void ShowChildWindow(QWidget &window);

// The child windows of the main window (the analysis window, the system
// tester, the help, the entry pad) are made on first use: `make` creates the
// window, parented to the main window and placed (PlaceChildWindow); the keys that open it (`openKeys`) then close it again,
// handing the keyboard back to the main window (AddCloseKeys). Every call
// shows, raises and activates it.
template <typename Window, typename Make>
Window &OpenChildWindow(Window *&window, Make &&make, const QList<QKeySequence> &openKeys)
{
    if (!window) {
        window = make();
        if (!openKeys.isEmpty())
            AddCloseKeys(*window, openKeys);
    }
    ShowChildWindow(*window);
    return *window;
}

} // namespace trevolo
