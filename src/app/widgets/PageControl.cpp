#include "app/widgets/PageControl.h"

#include "app/widgets/PageControlAccessible.h"

#include <QAccessible>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QStyleOptionTab>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

namespace trevolo {

namespace {

constexpr int TabPadding = 6;  // blank each side of a caption
constexpr int TabOverhang = 2; // the selected tab stands out this much
constexpr int FrameInset = 4;  // from the page frame to the page

} // namespace

// ---------------------------------------------------------------- TTabSheet

TTabSheet::TTabSheet(const QString &caption, QWidget *parent) : QWidget(parent), m_caption(caption)
{
    InstallPageControlAccessibility();
}

void TTabSheet::SetCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    Q_EMIT captionChanged();
}

// ------------------------------------------------------------- TPageControl

TPageControl::TPageControl(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    InstallPageControlAccessibility();
}

void TPageControl::AddPage(TTabSheet *page)
{
    page->setParent(this);
    m_pages.append(page);
    connect(page, &TTabSheet::captionChanged, this, [this, page] {
        relayout();
        update();
        // A screen reader speaks the tab's new name.
        if (QAccessible::isActive()) {
            QAccessibleEvent renamed(this, QAccessible::NameChanged);
            renamed.setChild(int(m_pages.indexOf(page)));
            QAccessible::updateAccessibility(&renamed);
        }
    });
    if (m_active < 0)
        m_active = 0;
    page->setVisible(m_pages.size() - 1 == m_active);
    relayout();
}

void TPageControl::SetActivePageIndex(int index)
{
    if (index < 0 || index >= m_pages.size() || index == m_active)
        return;
    const int old = m_active;
    m_active = index;
    relayout();
    m_pages[index]->show();
    if (old >= 0)
        m_pages[old]->hide();
    update();
    // The newly selected tab, for a screen reader.
    if (QAccessible::isActive()) {
        if (hasFocus()) {
            QAccessibleEvent focus(this, QAccessible::Focus);
            focus.setChild(index);
            QAccessible::updateAccessibility(&focus);
        }
        QAccessibleEvent selection(this, QAccessible::Selection);
        selection.setChild(index);
        QAccessible::updateAccessibility(&selection);
    }
    Q_EMIT activePageChanged(index);
}

void TPageControl::SelectNextPage(bool forward)
{
    const int count = PageCount();
    if (count > 0)
        SetActivePageIndex((m_active + (forward ? 1 : count - 1)) % count);
}

QRect TPageControl::TabRect(int index) const
{
    return m_tabRects.value(index);
}

QRect TPageControl::PageRect() const
{
    const int top = m_rowCount * rowHeight() + TabOverhang;
    return QRect(0, top, width(), height() - top)
        .adjusted(FrameInset, FrameInset, -FrameInset, -FrameInset);
}

int TPageControl::rowHeight() const
{
    return fontMetrics().height() + 6;
}

void TPageControl::relayout()
{
    const int available = width() - 2 * TabOverhang;
    const QFontMetrics metrics = fontMetrics();

    // Fill rows greedily in tab order.
    QList<QList<int>> rows;
    QList<int> widths(m_pages.size());
    int used = 0;
    for (int i = 0; i < m_pages.size(); ++i) {
        widths[i] = metrics.horizontalAdvance(m_pages[i]->Caption()) + 2 * TabPadding;
        if (rows.isEmpty() || (used + widths[i] > available && !rows.last().isEmpty())) {
            rows.append(QList<int>());
            used = 0;
        }
        rows.last().append(i);
        used += widths[i];
    }
    m_rowCount = int(rows.size());

    // The row of the selected tab goes next to the page; the rows after it
    // move up ahead of it, as they do on the classic control.
    int selectedRow = 0;
    for (int r = 0; r < rows.size(); ++r)
        if (rows[r].contains(m_active))
            selectedRow = r;
    QList<QList<int>> ordered;
    for (int k = 1; k <= rows.size(); ++k)
        ordered.append(rows[(selectedRow + k) % rows.size()]);

    m_tabRects = QList<QRect>(m_pages.size());
    m_tabRows = QList<int>(m_pages.size());
    const int h = rowHeight();
    for (int r = 0; r < ordered.size(); ++r) {
        const QList<int> &row = ordered[r];
        int rowWidth = 0;
        for (int i : row)
            rowWidth += widths[i];
        const int extra = ordered.size() > 1 ? qMax(0, available - rowWidth) : 0;
        int x = TabOverhang;
        for (int k = 0; k < row.size(); ++k) {
            // Spread the spare width evenly, the remainder to the first tabs.
            const int share = extra / int(row.size()) + (k < extra % int(row.size()) ? 1 : 0);
            const int w = widths[row[k]] + share;
            m_tabRects[row[k]] = QRect(x, TabOverhang + r * h, w, h);
            m_tabRows[row[k]] = r;
            x += w;
        }
    }

    const QRect pageRect = PageRect();
    for (TTabSheet *page : std::as_const(m_pages))
        page->setGeometry(pageRect);
}

void TPageControl::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    relayout();
}

void TPageControl::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        relayout();
}

int TPageControl::tabAt(const QPoint &point) const
{
    for (int i = 0; i < m_tabRects.size(); ++i)
        if (m_tabRects[i].contains(point))
            return i;
    return -1;
}

void TPageControl::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        const int index = tabAt(event->position().toPoint());
        if (index >= 0) {
            SetActivePageIndex(index);
            return;
        }
    }
    QWidget::mousePressEvent(event);
}

void TPageControl::keyPressEvent(QKeyEvent *event)
{
    if (!m_pages.isEmpty() && (event->key() == Qt::Key_Right || event->key() == Qt::Key_Left)) {
        SelectNextPage(event->key() == Qt::Key_Right);
        return;
    }
    QWidget::keyPressEvent(event);
}

void TPageControl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int top = m_rowCount * rowHeight() + TabOverhang;

    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = QRect(0, top, width(), height() - top);
    frame.shape = QTabBar::RoundedNorth;
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    if (m_active >= 0)
        frame.selectedTabRect = m_tabRects[m_active];
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);

    auto drawTab = [&](int i) {
        QStyleOptionTab tab;
        tab.initFrom(this);
        tab.state &= ~QStyle::State_HasFocus;
        tab.state &= ~QStyle::State_MouseOver;
        tab.rect = m_tabRects[i];
        tab.text = m_pages[i]->Caption();
        tab.shape = QTabBar::RoundedNorth;
        const bool selected = i == m_active;
        if (selected)
            tab.state |= QStyle::State_Selected;
        // Position within its row, for the style's end caps.
        int first = i, last = i;
        while (first > 0 && m_tabRows[first - 1] == m_tabRows[i])
            --first;
        while (last + 1 < m_tabRows.size() && m_tabRows[last + 1] == m_tabRows[i])
            ++last;
        if (first == last)
            tab.position = QStyleOptionTab::OnlyOneTab;
        else if (i == first)
            tab.position = QStyleOptionTab::Beginning;
        else if (i == last)
            tab.position = QStyleOptionTab::End;
        else
            tab.position = QStyleOptionTab::Middle;
        if (m_tabRows[i] == m_rowCount - 1 && m_active >= 0 &&
            m_tabRows[m_active] == m_tabRows[i]) {
            if (i == m_active + 1)
                tab.selectedPosition = QStyleOptionTab::PreviousIsSelected;
            else if (i == m_active - 1)
                tab.selectedPosition = QStyleOptionTab::NextIsSelected;
        }
        // The shape comes from the style; the caption is drawn centred here,
        // so the style's own margins never elide it.
        // Some styles paint a selected tab beyond its rectangle; keep it to
        // the tab and the frame line under it.
        painter.setClipRect(tab.rect.adjusted(0, 0, 0, selected ? 1 : 0));
        style()->drawControl(QStyle::CE_TabBarTabShape, &tab, &painter, this);
        painter.setClipping(false);
        QRect textRect = tab.rect;
        if (!selected)
            textRect.translate(0, 1);
        style()->drawItemText(&painter, textRect, Qt::AlignCenter, palette(), isEnabled(), tab.text,
                              QPalette::WindowText);
        if (selected && hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = textRect.adjusted(3, 3, -3, -2);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
        }
    };
    for (int i = 0; i < m_pages.size(); ++i)
        if (i != m_active)
            drawTab(i);
    if (m_active >= 0)
        drawTab(m_active);
}

} // namespace trevolo
