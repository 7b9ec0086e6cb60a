#include "app/widgets/PageControlAccessible.h"

#include "app/widgets/PageControl.h"

namespace trevolo {

namespace {

// The tab of one page: a page tab that can be selected, and pressed to show
// its page.
class TPageTabAccessible final : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    TPageTabAccessible(TPageControl *control, int index) : m_control(control), m_index(index) {}

    bool isValid() const override { return m_control && m_index < m_control->PageCount(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override
    {
        return m_control ? m_control->window()->windowHandle() : nullptr;
    }
    QAccessible::Role role() const override { return QAccessible::PageTab; }

    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s.selectable = true;
        s.focusable = true;
        s.selected = m_index == m_control->ActivePageIndex();
        s.focused = s.selected && m_control->hasFocus();
        s.invisible = !m_control->isVisible();
        s.disabled = !m_control->isEnabled();
        return s;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !isValid())
            return QString();
        return m_control->Page(m_index)->Caption();
    }
    void setText(QAccessible::Text, const QString &) override {}

    QRect rect() const override
    {
        if (!isValid())
            return QRect();
        const QRect tab = m_control->TabRect(m_index);
        return QRect(m_control->mapToGlobal(tab.topLeft()), tab.size());
    }

    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_control.data());
    }
    int childCount() const override { return isValid() ? 1 : 0; }
    QAccessibleInterface *child(int index) const override
    {
        if (index != 0 || !isValid())
            return nullptr;
        return QAccessible::queryAccessibleInterface(m_control->Page(m_index));
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return isValid() && child && child->object() == m_control->Page(m_index) ? 0 : -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        QAccessibleInterface *page = child(0);
        return page && page->rect().contains(x, y) ? page : nullptr;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ActionInterface)
            return static_cast<QAccessibleActionInterface *>(this);
        return nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &name) override
    {
        if (isValid() && name == pressAction())
            m_control->SetActivePageIndex(m_index);
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QPointer<TPageControl> m_control;
    int m_index;
};

QAccessibleInterface *PageControlFactory(const QString &key, QObject *object)
{
    if (key == QLatin1StringView(TPageControl::staticMetaObject.className())) {
        if (auto *control = qobject_cast<TPageControl *>(object))
            return new TPageControlAccessible(control);
    }
    if (key == QLatin1StringView(TTabSheet::staticMetaObject.className())) {
        if (auto *page = qobject_cast<TTabSheet *>(object))
            return new TTabSheetAccessible(page);
    }
    return nullptr;
}

} // namespace

// ---------------------------------------------------------- page-tab list

TPageControlAccessible::TPageControlAccessible(TPageControl *control)
    : QAccessibleWidget(control, QAccessible::PageTabList)
{}

TPageControlAccessible::~TPageControlAccessible()
{
    for (const QAccessible::Id id : std::as_const(m_tabs))
        QAccessible::deleteAccessibleInterface(id);
}

TPageControl *TPageControlAccessible::control() const
{
    return static_cast<TPageControl *>(widget());
}

int TPageControlAccessible::childCount() const
{
    return control()->PageCount();
}

QAccessibleInterface *TPageControlAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    if (const QAccessible::Id id = m_tabs.value(index))
        return QAccessible::accessibleInterface(id);
    auto *tab = new TPageTabAccessible(control(), index);
    m_tabs.insert(index, QAccessible::registerAccessibleInterface(tab));
    return tab;
}

int TPageControlAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (!child)
        return -1;
    for (auto it = m_tabs.cbegin(); it != m_tabs.cend(); ++it) {
        if (QAccessible::accessibleInterface(it.value()) == child)
            return it.key();
    }
    return -1;
}

QAccessibleInterface *TPageControlAccessible::childAt(int x, int y) const
{
    const QPoint point = control()->mapFromGlobal(QPoint(x, y));
    for (int i = 0; i < childCount(); ++i) {
        if (control()->TabRect(i).contains(point))
            return child(i);
    }
    // The page area belongs to the selected tab, whose child the page is.
    if (control()->PageRect().contains(point))
        return child(control()->ActivePageIndex());
    return nullptr;
}

// -------------------------------------------------------------------- page

TTabSheetAccessible::TTabSheetAccessible(TTabSheet *page)
    : QAccessibleWidget(page, QAccessible::Pane)
{}

QAccessibleInterface *TTabSheetAccessible::parent() const
{
    auto *page = static_cast<TTabSheet *>(widget());
    auto *control = qobject_cast<TPageControl *>(page->parentWidget());
    if (!control)
        return QAccessibleWidget::parent();
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(control);
    for (int i = 0; i < control->PageCount(); ++i) {
        if (control->Page(i) == page)
            return list->child(i);
    }
    return list;
}

QString TTabSheetAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
        return static_cast<TTabSheet *>(widget())->Caption();
    return QAccessibleWidget::text(t);
}

void InstallPageControlAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(&PageControlFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace trevolo
