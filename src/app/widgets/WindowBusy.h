#pragma once

#include <QPointer>
#include <QWidget>

class QMainWindow;

namespace trevolo {

// While alive: a busy cursor, and the window's menus and controls take no
// input (events are still handled, so it repaints); then the keyboard is
// back where it was.
class WindowBusy
{
public:
    explicit WindowBusy(QMainWindow &window);
    ~WindowBusy();
    WindowBusy(const WindowBusy &) = delete;
    WindowBusy &operator=(const WindowBusy &) = delete;

private:
    QMainWindow &m_window;
    // The control that had the keyboard, which gets it back at the end.
    QPointer<QWidget> m_focus;
};

} // namespace trevolo
