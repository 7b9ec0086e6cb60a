#include "app/widgets/WindowBusy.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

namespace trevolo {

WindowBusy::WindowBusy(QMainWindow &window) : m_window(window)
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
    QApplication::restoreOverrideCursor();
}

} // namespace trevolo
