#pragma once

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

namespace trevolo {

class TPageControl;
class TTabSheet;

// What a screen reader sees of a TPageControl: a page-tab list with one page
// tab per page, named by the page's caption and selected while its page is
// shown; the page itself is the tab's one child. The tabs are made when first
// asked for and go with the list.
class TPageControlAccessible : public QAccessibleWidget
{
public:
    explicit TPageControlAccessible(TPageControl *control);
    ~TPageControlAccessible() override;

    TPageControl *control() const;

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;

private:
    mutable QHash<int, QAccessible::Id> m_tabs;
};

// One page of a TPageControl, under its tab rather than under the control.
class TTabSheetAccessible : public QAccessibleWidget
{
public:
    explicit TTabSheetAccessible(TTabSheet *page);

    QAccessibleInterface *parent() const override;
    QString text(QAccessible::Text t) const override;
};

// Makes queryAccessibleInterface give the interfaces above for page
// controls and their pages. Safe to call more than once.
void InstallPageControlAccessibility();

} // namespace trevolo
