#pragma once

#include <QList>
#include <QRect>
#include <QWidget>

namespace trevolo {

class TPageControl;

// One page of a TPageControl; its caption is shown on its tab.
class TTabSheet : public QWidget
{
    Q_OBJECT

public:
    explicit TTabSheet(const QString &caption, QWidget *parent = nullptr);

    QString Caption() const { return m_caption; }
    void SetCaption(const QString &caption);

Q_SIGNALS:
    void captionChanged();

private:
    QString m_caption;
};

// Tabbed container whose tabs wrap onto further rows when they do not fit on
// one, so every tab stays visible without scroll arrows. As on the classic
// multi-row tab control, the row that holds the selected tab is drawn next to
// the page, and the tabs of each row are stretched to the full width when
// there is more than one row.
class TPageControl : public QWidget
{
    Q_OBJECT

public:
    explicit TPageControl(QWidget *parent = nullptr);

    // Takes ownership of the page and adds its tab at the end.
    void AddPage(TTabSheet *page);

    int PageCount() const { return int(m_pages.size()); }
    TTabSheet *Page(int index) const { return m_pages.value(index); }
    int ActivePageIndex() const { return m_active; }
    TTabSheet *ActivePage() const { return Page(m_active); }
    void SetActivePageIndex(int index);
    // The next page, or the previous one, going round from the last page to
    // the first and back.
    void SelectNextPage(bool forward);

    // Where the tab of a page lies, in this widget's coordinates.
    QRect TabRect(int index) const;
    // The rectangle the pages fill.
    QRect PageRect() const;
    int RowCount() const { return m_rowCount; }

Q_SIGNALS:
    void activePageChanged(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void relayout();
    int rowHeight() const;
    int tabAt(const QPoint &point) const;

    QList<TTabSheet *> m_pages;
    QList<QRect> m_tabRects;
    QList<int> m_tabRows; // display row of each tab, 0 at the top
    int m_rowCount = 0;
    int m_active = -1;
};

} // namespace trevolo
