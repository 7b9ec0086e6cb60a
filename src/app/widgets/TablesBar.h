#pragma once

#include <QTabBar>

namespace trevolo {

// One tab per table: its name, "*" after it while it has unsaved spins, and
// on a table that is not current a mark when numbers of it have reached the
// alarm threshold (read out as "над порогом: <k> чисел"). Tabs move by
// dragging and close by their button or a middle click (tabCloseRequested);
// what a tab does is the window's business.
class TablesBar : public QTabBar
{
    Q_OBJECT

public:
    explicit TablesBar(QWidget *parent = nullptr);

    // What a tab shows of its table.
    struct Tab
    {
        QString name;
        bool unsaved = false;
        int overThreshold = 0; // numbers at or over the threshold
    };
    // Shows these tabs, `current` selected, without a signal of its own.
    void ShowTabs(const QList<Tab> &tabs, int current);
    // The accessible text of a tab's mark, empty without one.
    static QString MarkText(int overThreshold);
    // Whether the tab carries the mark.
    bool Marked(int index) const;

    // As wide as the window lets it be: the tabs scroll beyond that.
    QSize sizeHint() const override;

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QList<bool> m_marked;
};

} // namespace trevolo
