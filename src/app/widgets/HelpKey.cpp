#include "app/widgets/HelpKey.h"

#include <QAction>
#include <QVariant>
#include <QWidget>

namespace trevolo {

namespace {
constexpr char PageProperty[] = "trevoloHelpPage";
}

void AddHelpKey(QWidget &window, const QString &anchor,
                const std::function<void(const QString &anchor)> &open)
{
    window.setProperty(PageProperty, anchor);
    if (window.windowType() == Qt::Tool)
        return;
    auto *action = new QAction(&window);
    action->setShortcut(QKeySequence(Qt::Key_F1));
    action->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(action, &QAction::triggered, &window, [anchor, open] { open(anchor); });
    window.addAction(action);
}

QString HelpPage(const QWidget *window)
{
    return window ? window->property(PageProperty).toString() : QString();
}

} // namespace trevolo
