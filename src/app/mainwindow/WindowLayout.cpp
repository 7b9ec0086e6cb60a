// The window's frame: the history column, the page control with its five
// pages, the status bar and the file dialogs' settings.
#include "app/mainwindow/Unit1.h"

#include <QAction>
#include <QKeySequence>
#include <QLineEdit>

namespace trevolo {

void TForm1::BuildHistoryColumn(QWidget *client)
{
    // The first table's memo; every further table has one of its own in the
    // same place, and the one shown is ListBox1.
    Q_ASSERT(client == centralWidget());
    listBox1 = Named(MakeMemo(m_tables.Current().history), u"ListBox1");
    listBox1->show();
    TablePage first;
    first.memo = listBox1;
    m_pages.push_back(std::move(first));

    edit13 = MakeEdit(client, u"Edit13", QString(), QRect(3, 498, 44, 21));
    edit13->setReadOnly(true);
    SetTooltipBackground(edit13);
    edit13->setAccessibleName(QStringLiteral("Строк в последовательности"));
    m_figureTips->AddLines(edit13);
}

void TForm1::BuildPageControl(QWidget *client)
{
    pageControl1 = Named(new TPageControl(client), u"PageControl1");
    pageControl1->setGeometry(50, 0, 266, 521);

    struct PageRow
    {
        TTabSheet *TForm1::*member;
        const char16_t *name;
        const char16_t *caption;
        void (TForm1::*build)(TTabSheet *);
    };
    // In tab order; the third page is TabSheet4 and the fourth TabSheet3.
    static const PageRow pages[] = {
        {&TForm1::tabSheet1, u"TabSheet1", u"Комбинации", &TForm1::BuildCombinationsPage},
        {&TForm1::tabSheet2, u"TabSheet2", u"Не выпадения", &TForm1::BuildAbsencePage},
        {&TForm1::tabSheet4, u"TabSheet4", u"Выпадения", &TForm1::BuildOccurrencePage},
        {&TForm1::tabSheet3, u"TabSheet3", u"Настройки", &TForm1::BuildSettingsPage},
        {&TForm1::tabSheet6, u"TabSheet6", u"Калькулятор", &TForm1::BuildCalculatorPage},
    };
    for (const PageRow &row : pages) {
        auto *page = Named(new TTabSheet(QString::fromUtf16(row.caption)), row.name);
        pageControl1->AddPage(page);
        this->*row.member = page;
        (this->*row.build)(page);
    }
    pageControl1->SetActivePageIndex(0);

    // Ctrl+Tab and Ctrl+PgDown to the next page, Ctrl+Shift+Tab and
    // Ctrl+PgUp to the previous one, wherever the focus is in the window:
    // the text boxes use none of these keys. (Ctrl+Shift+Tab arrives as
    // Ctrl+Shift+Backtab, which the shortcut map takes for it.)
    const auto pageKeys = [this](std::initializer_list<QKeySequence> keys, bool forward) {
        auto *action = new QAction(this);
        action->setShortcuts(QList<QKeySequence>(keys));
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, pageControl1,
                [this, forward] { pageControl1->SelectNextPage(forward); });
        addAction(action);
    };
    pageKeys({QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)},
             true);
    pageKeys(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageUp)},
        false);
}

void TForm1::BuildStatusBar()
{
    statusBar1 = Named(new TStatusBar(this), u"StatusBar1");
    statusBar1->setFixedHeight(19);
    statusBar1->SetSimpleText(QStringLiteral("Ближайшее число: Равные шансы."));
    m_figureTips->AddNearest(statusBar1);
    setStatusBar(statusBar1);
}

void TForm1::BuildDialogs()
{
    const QStringList settingsFilters{QStringLiteral("Файлы конфигурации (*.ini)"),
                                      QStringLiteral("Все файлы (*.*)")};
    const QStringList historyFilters{QStringLiteral("Текстовые файлы (*.txt)"),
                                     QStringLiteral("Все файлы (*.*)")};
    struct DialogRow
    {
        TFileDialog *TForm1::*member;
        const char16_t *name;
        TFileDialog::Kind kind;
        const QStringList *filters;
        const char16_t *suffix;
    };
    const DialogRow dialogs[] = {
        {&TForm1::openDialog1, u"OpenDialog1", TFileDialog::Kind::Open, &settingsFilters, u"ini"},
        {&TForm1::saveDialog1, u"SaveDialog1", TFileDialog::Kind::Save, &settingsFilters, u"ini"},
        {&TForm1::openDialog2, u"OpenDialog2", TFileDialog::Kind::Open, &historyFilters, u"txt"},
        {&TForm1::saveDialog2, u"SaveDialog2", TFileDialog::Kind::Save, &historyFilters, u"txt"},
    };
    for (const DialogRow &row : dialogs) {
        auto *dialog = Named(new TFileDialog(row.kind, this), row.name);
        dialog->Options().filters = *row.filters;
        dialog->Options().defaultSuffix = QString::fromUtf16(row.suffix);
        this->*row.member = dialog;
    }
}

} // namespace trevolo
