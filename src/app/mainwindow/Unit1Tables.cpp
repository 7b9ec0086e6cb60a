// The tables: one history each, switched in one keystroke, with the bar
// above the window and the overview.
#include "app/mainwindow/Unit1.h"

#include "app/analysiswindow/AnalysisForm.h"
#include "app/entrypad/EntryPadForm.h"
#include "app/systemwindow/SystemForm.h"
#include "app/tablesform/TablesForm.h"
#include "app/widgets/ChildWindow.h"
#include "app/widgets/TablesBar.h"
#include "history/TableSummary.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QToolBar>

namespace trevolo {

void TForm1::ConnectTables()
{
    OnClick(n31, &TForm1::N31Click);
    OnClick(n32, &TForm1::N32Click);
    OnClick(n33, &TForm1::N33Click);
    OnClick(n34, &TForm1::N34Click);
    // F2 only while the main window is active: the child windows keep it.
    n32->setShortcutContext(Qt::WindowShortcut);

    // Alt+1 .. Alt+9 to the n-th table, Ctrl+Alt+PgDown / PgUp to the next
    // and the previous one, wherever the focus is in the window.
    const auto key = [this](QKeySequence sequence, auto handler) {
        auto *action = new QAction(this);
        action->setShortcut(sequence);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, handler] { Guard(handler); });
        addAction(action);
    };
    for (int n = 1; n <= 9; ++n)
        key(QKeySequence(Qt::ALT | Qt::Key(Qt::Key_0 + n)), [this, n] { SelectTable(n - 1); });
    key(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_PageDown), [this] { SelectNextTable(true); });
    key(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_PageUp), [this] { SelectNextTable(false); });

    connect(edit1, &QLineEdit::textChanged, this, [this] {
        if (m_tablesBar)
            RefreshTablesBar();
    });
}

THistoryMemo *TForm1::MakeMemo(SpinHistory &history)
{
    auto *memo = new THistoryMemo(history, centralWidget(), &m_environment);
    memo->setGeometry(3, 7, 45, 487);
    memo->setAccessibleName(QStringLiteral("Последовательность"));
    memo->hide();
    // Only the memo shown is typed into; what it changes is the current
    // table's, and so is every pass and write that follows.
    connect(memo, &QPlainTextEdit::textChanged, this, [this, memo] {
        if (memo == listBox1)
            Guard([this] { Calc(); });
    });
    connect(memo, &THistoryMemo::historyEdited, this, [this, memo] {
        if (memo != listBox1)
            return;
        ScheduleRecovery();
        MarkCurrentUnsaved();
        Q_EMIT currentHistoryEdited();
    });
    // The history memo shows its own menu in place of the standard one.
    memo->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(memo, &QWidget::customContextMenuRequested, this, [this, memo](const QPoint &point) {
        popupMenu1->popup(memo->viewport()->mapToGlobal(point));
    });
    return memo;
}

void TForm1::N31Click()
{
    const int index = m_tables.Add();
    if (index < 0) {
        m_environment.showMessage(
            this, ApplicationTitle(),
            QStringLiteral("Открыто столов: %1. Больше столов открыть нельзя.")
                .arg(TableSet::MaxTables));
        return;
    }
    TablePage page;
    page.memo = MakeMemo(m_tables.At(index).history);
    page.recovery = OpenTableRecovery();
    m_pages.push_back(std::move(page));
    SelectTable(index);
}

void TForm1::N32Click()
{
    const int index = m_tables.CurrentIndex();
    const std::optional<QString> name = m_environment.askText(
        this, QStringLiteral("Переименовать стол"), QStringLiteral("Название стола:"),
        m_tables.Current().name,
        [this, index](const QString &text) { return m_tables.RenameRefusal(index, text); });
    if (!name || !m_tables.Rename(index, *name))
        return;
    RefreshTablesBar();
    FollowCurrentTable();
}

void TForm1::N33Click()
{
    CloseTable(m_tables.CurrentIndex());
}

bool TForm1::CloseTable(int index)
{
    if (index < 0 || index >= m_tables.Count())
        return false;
    // The only table stays, emptied as "Очистить" empties it: Undo brings
    // its spins back.
    if (m_tables.Count() == 1) {
        N1Click();
        return true;
    }
    SelectTable(index);
    if (!MayClose())
        return false;
    // The table next to it takes its place, then it goes: its memo before
    // its history, which the memo feeds.
    SelectTable(index + 1 < m_tables.Count() ? index + 1 : index - 1);
    // Saved or declined: nothing of it is left to recover.
    TablePage gone = std::move(m_pages[size_t(index)]);
    m_pages.erase(m_pages.begin() + index);
    if (gone.recovery)
        gone.recovery->RemoveAll();
    delete gone.memo;
    m_tables.Remove(index);
    RefreshTablesBar();
    FollowCurrentTable();
    return true;
}

void TForm1::N34Click()
{
    OpenChildWindow(
        m_tablesForm,
        [this] {
            auto *window = new TablesForm(m_tables, *edit1, this);
            connect(window, &TablesForm::tableChosen, this, [this](int index) {
                Guard([this, index] {
                    SelectTable(index);
                    CloseToParent(*m_tablesForm);
                });
            });
            PlaceChildWindow(*window, *this, {TablesForm::PreferredSize, TablesForm::SmallestSize});
            AddHelpKeyTo(*window, QStringLiteral("tables"));
            return window;
        },
        n34->shortcuts());
}

void TForm1::SelectTable(int index)
{
    if (index < 0 || index >= m_tables.Count())
        return;
    THistoryMemo *shown = listBox1;
    THistoryMemo *memo = m_pages[size_t(index)].memo;
    if (memo == shown)
        return;
    // A change of the table left reaches its recovery file now; its marks
    // and its file stay with it.
    if (m_recoveryTimer->isActive())
        KeepForRecovery();
    for (TablePage &page : m_pages)
        if (page.memo == shown) {
            page.saved = m_savedHistory;
            page.declined = m_declinedHistory;
            page.recovery = std::move(m_recovery);
            page.recoveryHolds = m_recoveryHolds;
            page.keptReplaced = std::move(m_keptReplaced);
        }
    // The keyboard stays in the history box, also when the switch comes
    // from another window (the overview) and the focus returns here later.
    const bool focused = shown && (shown->hasFocus() || focusWidget() == shown);
    m_tables.SetCurrent(index);
    listBox1 = memo;
    TablePage &page = m_pages[size_t(index)];
    m_savedHistory = page.saved;
    m_declinedHistory = page.declined;
    m_recovery = std::move(page.recovery);
    m_recoveryHolds = page.recoveryHolds;
    m_keptReplaced = std::move(page.keptReplaced);
    // The current memo is ListBox1 for every look-up by name.
    if (shown)
        shown->setObjectName(QString());
    memo->setObjectName(QStringLiteral("ListBox1"));
    m_registry.Put(memo);
    memo->show();
    if (shown)
        shown->hide();
    if (focused)
        memo->setFocus();
    FollowCurrentTable();
    RefreshTablesBar();
    // The pass of the table shown; a threshold that does not read is said
    // as at every pass.
    Guard([this] { Calc(); });
}

void TForm1::SelectNextTable(bool forward)
{
    const int count = m_tables.Count();
    SelectTable((m_tables.CurrentIndex() + (forward ? 1 : count - 1)) % count);
}

QString TForm1::TitleTableName() const
{
    return m_tables.Count() >= 2 ? m_tables.Current().name : QString();
}

void TForm1::FollowCurrentTable()
{
    const SpinHistory &history = History();
    const QString name = TitleTableName();
    if (m_analysisForm)
        m_analysisForm->FollowHistory(history, name);
    if (m_systemForm)
        m_systemForm->FollowHistory(history, name);
    if (m_entryPad) {
        m_entryPad->FollowHistory(history, name);
        m_entryPad->SetRedoAvailable(listBox1->CanRedoLastSpin());
    }
}

void TForm1::RefreshTablesBar()
{
    const bool several = m_tables.Count() >= 2;
    if (!m_tablesBar) {
        if (!several)
            return;
        // Made with the second table: a window of one table is as it
        // always was.
        m_tablesHolder = new QToolBar(this);
        m_tablesHolder->setObjectName(QStringLiteral("TablesHolder"));
        m_tablesHolder->setMovable(false);
        m_tablesHolder->setFloatable(false);
        m_tablesHolder->setContextMenuPolicy(Qt::PreventContextMenu);
        m_tablesHolder->toggleViewAction()->setVisible(false);
        m_tablesBar = new TablesBar;
        m_tablesBar->setFont(font());
        m_tablesHolder->addWidget(m_tablesBar);
        addToolBar(Qt::TopToolBarArea, m_tablesHolder);
        connect(m_tablesBar, &QTabBar::currentChanged, this,
                [this](int index) { Guard([this, index] { SelectTable(index); }); });
        connect(m_tablesBar, &QTabBar::tabCloseRequested, this,
                [this](int index) { Guard([this, index] { CloseTable(index); }); });
        connect(m_tablesBar, &QTabBar::tabMoved, this, [this](int from, int to) {
            Guard([this, from, to] {
                TablePage page = std::move(m_pages[size_t(from)]);
                m_pages.erase(m_pages.begin() + from);
                m_pages.insert(m_pages.begin() + to, std::move(page));
                m_tables.Move(from, to);
                // The tabs moved themselves; the files say the new order.
                LabelRecoveryFiles();
            });
        });
    }
    if (m_tablesHolder->isHidden() == several) {
        // The window grows by the bar and shrinks back without it.
        m_tablesHolder->setVisible(several);
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        layout()->activate();
        setFixedSize(sizeHint());
    }
    QList<TablesBar::Tab> tabs;
    const QString threshold = edit1->text();
    for (int i = 0; i < m_tables.Count(); ++i) {
        const Table &table = m_tables.At(i);
        tabs.append({table.name, table.unsaved,
                     i == m_tables.CurrentIndex() ? 0 : NumbersOverThreshold(table, threshold)});
    }
    m_tablesBar->ShowTabs(tabs, m_tables.CurrentIndex());
    LabelRecoveryFiles();
}

bool TForm1::PageUnsaved(int index)
{
    if (index == m_tables.CurrentIndex())
        return !Unchanged(*listBox1, m_savedHistory, m_declinedHistory);
    const TablePage &page = m_pages[size_t(index)];
    return !Unchanged(*page.memo, page.saved, page.declined);
}

void TForm1::MarkCurrentUnsaved()
{
    const int index = m_tables.CurrentIndex();
    const bool unsaved = !Unchanged(*listBox1, m_savedHistory, std::nullopt);
    if (m_tables.Current().unsaved == unsaved)
        return;
    m_tables.SetUnsaved(index, unsaved);
    if (m_tablesBar)
        RefreshTablesBar();
}

void TForm1::NameTableAfterFile(const QString &path)
{
    const int index = m_tables.CurrentIndex();
    m_tables.SetFilePath(index, path);
    if (m_tables.Current().named)
        return;
    m_tables.Rename(index, QFileInfo(path).completeBaseName());
    if (m_tablesBar)
        RefreshTablesBar();
    FollowCurrentTable();
}

void TForm1::OpenFiles(const QStringList &paths, bool firstHere)
{
    bool here = firstHere || (listBox1->TextLength() == 0 && !m_tables.Current().unsaved);
    for (const QString &path : paths) {
        if (path.isEmpty())
            continue;
        if (!here) {
            const int before = m_tables.Count();
            N31Click();
            if (m_tables.Count() == before)
                return; // refused, and said so
        }
        here = false;
        // A file that cannot be read is said as a load says it; the table
        // stays, empty, and the next file goes on.
        Guard([this, &path] { LoadHistoryFrom(path); });
    }
}

namespace {

QStringList LocalFiles(const QMimeData *data)
{
    QStringList files;
    if (data && data->hasUrls())
        for (const QUrl &url : data->urls())
            if (url.isLocalFile())
                files.append(url.toLocalFile());
    return files;
}

} // namespace

void TForm1::dragEnterEvent(QDragEnterEvent *event)
{
    if (!LocalFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent *event)
{
    const QStringList files = LocalFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    Guard([this, &files] { OpenFiles(files, false); });
}

bool TForm1::MayCloseAll()
{
    for (int i = 0; i < m_tables.Count(); ++i) {
        if (!PageUnsaved(i))
            continue;
        SelectTable(i);
        if (!MayClose())
            return false;
    }
    return true;
}

} // namespace trevolo
