// "Как читать показатели": the built-in help window, made on first use, and
// F1 in every window, which opens it at that window's page.
#include "app/mainwindow/Unit1.h"

#include "app/helpwindow/HelpForm.h"
#include "app/widgets/ChildWindow.h"
#include "app/widgets/HelpKey.h"

#include <QApplication>
#include <iterator>

namespace trevolo {

namespace {

// The help's part for each page of the main window, in tab order.
constexpr const char16_t *PageAnchors[] = {u"combinations", u"absences", u"occurrences",
                                           u"settings", u"calculator"};

} // namespace

void TForm1::N30Click()
{
    // F1 in the pad arrives here too: a tool window's keys are its parent's.
    QString anchor = HelpPage(QApplication::activeWindow());
    const int page = pageControl1->ActivePageIndex();
    if (anchor.isEmpty() && page >= 0 && page < int(std::size(PageAnchors)))
        anchor = QString::fromUtf16(PageAnchors[page]);
    OpenHelp(anchor);
}

void TForm1::OpenHelp(const QString &anchor)
{
    // The key that opened it closes it again.
    OpenChildWindow(
        m_helpForm,
        [this] {
            auto *help = new HelpForm(this);
            PlaceChildWindow(*help, *this, {HelpForm::PreferredSize, HelpForm::SmallestSize});
            return help;
        },
        n30->shortcuts())
        .setFocus();
    m_helpForm->ShowPage(anchor);
}

void TForm1::AddHelpKeyTo(QWidget &window, const QString &anchor)
{
    AddHelpKey(window, anchor,
               [this](const QString &page) { Guard([this, page] { OpenHelp(page); }); });
}

} // namespace trevolo
