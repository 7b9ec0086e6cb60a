#include "app/widgets/ChildWindow.h"

#include <QMainWindow>
#include <QScreen>
#include <QWidget>

namespace trevolo {

namespace {

// The margins a window's frame adds to its client area.
QMargins FrameOf(const QWidget &window)
{
    const QRect outer = window.frameGeometry();
    const QRect inner = window.geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(),
            outer.right() - inner.right(), outer.bottom() - inner.bottom()};
}

} // namespace

void PlaceChildWindow(QWidget &window, const QWidget &owner, const Placement &placement)
{
    const QWidget &main = *owner.window();
    QRect menuBar;
    if (const auto *withMenu = qobject_cast<const QMainWindow *>(&main))
        if (const QWidget *bar = withMenu->menuWidget(); bar && bar->isVisibleTo(withMenu))
            menuBar = QRect(bar->mapToGlobal(QPoint(0, 0)), bar->size());
    const QScreen *screen = main.screen();
    const QRect outer = main.frameGeometry();
    const QRect available =
        screen ? screen->availableGeometry() : QRect(outer.topLeft(), placement.preferred);
    window.setGeometry(PlaceBeside(main.isVisible() ? outer : QRect(), menuBar, available,
                                   FrameOf(window.isVisible() ? window : main), placement));
}

void ShowChildWindow(QWidget &window)
{
    window.show();
    window.raise();
    window.activateWindow();
}

QString TableTitle(const QString &title, const QString &tableName)
{
    return tableName.isEmpty() ? title : title + QStringLiteral(" — ") + tableName;
}

} // namespace trevolo
