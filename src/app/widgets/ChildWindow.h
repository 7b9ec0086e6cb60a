#pragma once

#include "app/widgets/CloseKeys.h"

#include <QKeySequence>
#include <QList>
#include <QSize>

class QWidget;

namespace trevolo {

// Puts a window of its own on its first showing beside `owner`'s window,
// as close to `preferred` in size as the owner's screen allows and never
// smaller than `smallest` where the screen holds that (PlaceBeside).
void PlaceChildWindow(QWidget &window, const QWidget &owner, QSize preferred, QSize smallest);

// Shows a child window, raises it and makes it the active one.
void ShowChildWindow(QWidget &window);

// The child windows of the main window (the analysis window, the system
// tester, the help, the entry pad) are made on first use: `make` creates the
// window, parented to the main window and placed (PlaceChildWindow, or a
// rule of its own); the keys that open it (`openKeys`) then close it again,
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
