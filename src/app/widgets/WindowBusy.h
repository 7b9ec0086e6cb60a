#pragma once

class QMainWindow;

namespace trevolo {

// While alive: a busy cursor, and the window's menus and controls take no
// input (events are still handled, so it repaints).
class WindowBusy
{
public:
    explicit WindowBusy(QMainWindow &window);
    ~WindowBusy();
    WindowBusy(const WindowBusy &) = delete;
    WindowBusy &operator=(const WindowBusy &) = delete;

private:
    QMainWindow &m_window;
};

} // namespace trevolo
