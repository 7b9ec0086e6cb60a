#include "app/widgets/ChildWindow.h"

#include "app/widgets/WindowPlacement.h"

#include <QWidget>

namespace trevolo {

void PlaceChildWindow(QWidget &window, const QWidget &owner, QSize preferred, QSize smallest)
{
    window.setGeometry(PlaceBeside(owner, preferred, smallest));
}

void ShowChildWindow(QWidget &window)
{
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace trevolo
