#include "app/widgets/WindowBusy.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

namespace trevolo {

WindowBusy::WindowBusy(QMainWindow &window)
    : m_window(window), m_focus(QApplication::focusWidget())
{
    QApplication::setOverrideCursor(Qt::BusyCursor);
    if (QWidget *client = m_window.centralWidget())
        client->setEnabled(false);
    if (QMenuBar *menus = m_window.menuBar())
        menus->setEnabled(false);
}

WindowBusy::~WindowBusy()
{
    if (QWidget *client = m_window.centralWidget())
        client->setEnabled(true);
    if (QMenuBar *menus = m_window.menuBar())
        menus->setEnabled(true);
    // Disabling took the keyboard from the control that had it: it gets it
    // back, so what is typed next lands there.
    if (m_focus && m_focus->window() == &m_window && m_focus->isEnabled())
        m_focus->setFocus(Qt::OtherFocusReason);
    QApplication::restoreOverrideCursor();
}

} // namespace trevolo
