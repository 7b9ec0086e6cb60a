#include "app/widgets/CloseKeys.h"

#include <QAction>
#include <QWidget>

namespace trevolo {

void CloseToParent(QWidget &window)
{
    window.close();
    if (QWidget *parent = window.parentWidget()) {
        parent->window()->raise();
        parent->window()->activateWindow();
    }
}

void AddCloseKeys(QWidget &window, const QList<QKeySequence> &keys)
{
    auto *action = new QAction(&window);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(action, &QAction::triggered, &window, [&window] { CloseToParent(window); });
    window.addAction(action);
}

} // namespace trevolo
