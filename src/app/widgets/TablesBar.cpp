#include "app/widgets/TablesBar.h"

#include "common/RussianPlural.h"

#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>

namespace trevolo {

namespace {

// A red dot, drawn at twice the pixels for sharp screens.
QIcon AlarmMark()
{
    QPixmap picture(QSize(16, 16) * 2);
    picture.setDevicePixelRatio(2);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x80, 0, 0), 1));
    painter.setBrush(QColor(0xd0, 0x20, 0x20));
    painter.drawEllipse(QRectF(3.5, 3.5, 9, 9));
    return QIcon(picture);
}

} // namespace

TablesBar::TablesBar(QWidget *parent) : QTabBar(parent)
{
    setObjectName(QStringLiteral("TablesBar"));
    setAccessibleName(QStringLiteral("Столы"));
    setMovable(true);
    setTabsClosable(true);
    setExpanding(false);
    setUsesScrollButtons(true);
    setDocumentMode(true);
    setElideMode(Qt::ElideRight);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QString TablesBar::MarkText(int overThreshold)
{
    if (overThreshold <= 0)
        return QString();
    return QStringLiteral("над порогом: ") +
           Counted(overThreshold, u"число", u"числа", u"чисел");
}

bool TablesBar::Marked(int index) const
{
    return index >= 0 && index < m_marked.size() && m_marked[index];
}

void TablesBar::ShowTabs(const QList<Tab> &tabs, int current)
{
    const QSignalBlocker blocker(this);
    while (count() > tabs.size())
        removeTab(count() - 1);
    while (count() < tabs.size())
        addTab(QString());
    static const QIcon mark = AlarmMark();
    m_marked.resize(tabs.size());
    for (int i = 0; i < tabs.size(); ++i) {
        const Tab &tab = tabs[i];
        const QString text = tab.name + (tab.unsaved ? QStringLiteral("*") : QString());
        if (tabText(i) != text)
            setTabText(i, text);
        const bool marked = i != current && tab.overThreshold > 0;
        const QString markText = marked ? MarkText(tab.overThreshold) : QString();
        // Always set: a dragged tab takes its icon along.
        setTabIcon(i, marked ? mark : QIcon());
        m_marked[i] = marked;
        setTabToolTip(i, markText.isEmpty() ? tab.name : tab.name + QStringLiteral(", ") + markText);
        setAccessibleTabName(i, markText.isEmpty() ? text : text + QStringLiteral(", ") + markText);
    }
    setCurrentIndex(current);
}

QSize TablesBar::sizeHint() const
{
    // Room for a tab and the scroll buttons; the bar stretches to the
    // window's width (its size policy).
    constexpr int SmallWidth = 120;
    return {SmallWidth, QTabBar::sizeHint().height()};
}

void TablesBar::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::MiddleButton) {
        const int index = tabAt(event->position().toPoint());
        if (index >= 0) {
            Q_EMIT tabCloseRequested(index);
            return;
        }
    }
    QTabBar::mouseReleaseEvent(event);
}

} // namespace trevolo
