// Several tables in one window: the set of tables on its own, then the real
// main window switching, closing, asking and showing them.
#include "support/WindowFixture.h"

#include "support/TestFiles.h"
#include "support/TestHistories.h"

#include "app/analysiswindow/AnalysisForm.h"
#include "app/entrypad/EntryPadForm.h"
#include "app/tablesform/TablesForm.h"
#include "app/tablesform/TablesModel.h"
#include "app/widgets/TablesBar.h"
#include "history/TableSet.h"
#include "history/TableSummary.h"

#include <QAction>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace trevolo;
using namespace Qt::StringLiterals;

class TestTables : public QObject, private WindowFixture
{
    Q_OBJECT

private:
    THistoryMemo &memo() const { return *form->listBox1; }
    int current() const { return form->Tables().CurrentIndex(); }
    // Two tables: the first with `first`, the second (current) with `second`.
    void twoTables(const QString &first, const QString &second)
    {
        memo().ReplaceText(first);
        form->n31->trigger();
        memo().ReplaceText(second);
    }

private Q_SLOTS:
    void init() { createAll(); }
    void cleanup() { destroyAll(); }

    // ------------------------------------------------------------- the set

    void names_data()
    {
        QTest::addColumn<int>("added");
        QTest::addColumn<QList<int>>("removed"); // indexes, in turn
        QTest::addColumn<QString>("next");

        QTest::newRow("fresh") << 0 << QList<int>{} << u"Стол 2"_s;
        QTest::newRow("after three") << 2 << QList<int>{} << u"Стол 4"_s;
        QTest::newRow("gap filled") << 3 << QList<int>{1} << u"Стол 2"_s;
        QTest::newRow("first gone") << 2 << QList<int>{0} << u"Стол 1"_s;
    }
    void names()
    {
        QFETCH(int, added);
        QFETCH(QList<int>, removed);
        QFETCH(QString, next);
        TableSet tables;
        for (int i = 0; i < added; ++i)
            tables.Add();
        tables.SetCurrent(tables.Count() - 1);
        const Table *current = &tables.Current();
        for (const int index : removed)
            tables.Remove(index);
        QCOMPARE(tables.FreeName(), next);
        QCOMPARE(&tables.Current(), current); // the current one stays current
        tables.Move(tables.Count() - 1, 0);
        QCOMPARE(tables.CurrentIndex(), 0);
    }

    void renameRules_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QString>("taken");

        const QString empty = u"Название не может быть пустым."_s;
        QTest::newRow("empty") << 1 << QString() << empty << u"Стол 2"_s;
        QTest::newRow("blank") << 1 << u"   "_s << empty << u"Стол 2"_s;
        QTest::newRow("other's, case aside")
            << 1 << u"стол 1"_s << u"Стол «Стол 1» уже есть."_s << u"Стол 2"_s;
        QTest::newRow("own in other case") << 1 << u"СТОЛ 2"_s << QString() << u"СТОЛ 2"_s;
        QTest::newRow("trimmed") << 0 << u" Казино А "_s << QString() << u"Казино А"_s;
    }
    void renameRules()
    {
        QFETCH(int, index);
        QFETCH(QString, name);
        QFETCH(QString, refusal);
        QFETCH(QString, taken);
        TableSet tables;
        tables.Add();
        QCOMPARE(tables.RenameRefusal(index, name), refusal);
        tables.Rename(index, name);
        QCOMPARE(tables.At(index).name, taken);
    }

    void entryTimes()
    {
        TableSet tables;
        qint64 now = 1000;
        tables.SetClock([&now] { return now; });
        SpinHistory &history = tables.Current().history;
        history.Assign(std::vector<quint8>{1, 2, 3});
        now = 2000;
        history.Replace(3, 0, std::vector<quint8>{17});
        QCOMPARE(tables.Current().entryTimes, (std::vector<qint64>{0, 0, 0, 2000}));
        history.Replace(0, 2, {});
        const TableSummary s = Summarise(tables.Current(), u"2");
        // The last spin, its time, the spins, the longest absence (every other number's), over 2.
        QCOMPARE((QList<qint64>{s.lastSpin, s.lastEntered, s.spins, s.longestAbsence, s.overCount}),
                 (QList<qint64>{17, 2000, 2, 2, 35}));
    }

    // ------------------------------------------------------------- the window

    void switchKeepsEachTable()
    {
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        memo().setFocus();
        QTest::keyClicks(&memo(), u"1\r2\r3"_s);
        QTextCursor cursor = memo().textCursor();
        cursor.setPosition(2);
        cursor.setPosition(3, QTextCursor::KeepAnchor);
        memo().setTextCursor(cursor);
        THistoryMemo *first = &memo();

        QTest::keyClick(form.get(), Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(current(), 1);
        QVERIFY(&memo() != first && memo().hasFocus());
        QCOMPARE(form->edit13->text(), u"0"_s); // the pass follows the empty table
        memo().InsertAtEnd(Numbers(300));
        memo().verticalScrollBar()->setValue(40);

        QTest::keyClick(form.get(), Qt::Key_1, Qt::AltModifier);
        QCOMPARE(&memo(), first);
        QCOMPARE(form->FindComponent(u"ListBox1"), first);
        QCOMPARE(memo().Text(), u"1\n2\n3"_s);
        QCOMPARE(memo().textCursor().selectedText(), u"2"_s);
        QCOMPARE(form->edit13->text(), u"3"_s);
        memo().Undo(); // this table's last typing
        QCOMPARE(memo().Text(), u"1\n2\n"_s);
        memo().Redo();
        QCOMPARE(memo().Text(), u"1\n2\n3"_s);

        QTest::keyClick(form.get(), Qt::Key_PageDown, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(current(), 1);
        QCOMPARE(memo().verticalScrollBar()->value(), 40);
        QCOMPARE(memo().Text(), Numbers(300));
        QCOMPARE(form->History().SpinCount(), 300);
        QTest::keyClick(form.get(), Qt::Key_PageDown, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(current(), 0); // round the end
    }

    void inputGoesToCurrentOnly_data()
    {
        QTest::addColumn<int>("input");
        QTest::addColumn<int>("lines"); // the current table's afterwards
        QTest::newRow("typed") << 0 << 2;
        QTest::newRow("pad") << 1 << 3;
        QTest::newRow("generated") << 2 << 7;
        QTest::newRow("loaded") << 3 << 3;
        QTest::newRow("pasted") << 4 << 3;
    }
    void inputGoesToCurrentOnly()
    {
        QFETCH(int, input);
        twoTables(u"5\n"_s, u"7\n"_s);
        QTemporaryDir folder;
        const QString path = folder.filePath(u"zero.txt"_s);
        QVERIFY(WriteRaw(path, "1\r\n2\r\n3"));
        switch (input) {
        case 0: memo().moveCursor(QTextCursor::End); QTest::keyClicks(&memo(), u"9"_s); break;
        case 1: form->EnterSpin(9); break;
        case 2: form->N51Click(); break;
        case 3: form->LoadHistoryFrom(path); break;
        default: memo().moveCursor(QTextCursor::End); memo().insertPlainText(u"1\n2"_s);
        }
        QFETCH(int, lines);
        QCOMPARE(form->History().LineCount(), lines);
        QCOMPARE(form->Tables().At(0).history.LineCount(), 2);
        QCOMPARE(form->Tables().Current().name, input == 3 ? u"zero"_s : u"Стол 2"_s);
        QVERIFY(form->Tables().Current().unsaved == (input != 3));
    }

    void barGrowsWindowAndMarksAlarm()
    {
        form->show();
        const QSize single = form->size();
        QVERIFY(!form->tablesBar());
        form->edit1->setText(u"3"_s);
        twoTables(Numbers(5), QString());
        TablesBar *bar = form->tablesBar();
        QVERIFY(bar && bar->isVisible());
        QCOMPARE(form->size(), single + QSize(0, bar->parentWidget()->height()));
        QCOMPARE(bar->count(), 2);
        QCOMPARE(bar->tabText(0), u"Стол 1*"_s);
        QVERIFY(bar->Marked(0) && !bar->Marked(1));
        QCOMPARE(bar->accessibleTabName(0), u"Стол 1*, над порогом: 34 числа"_s);
        form->edit1->setText(u"300"_s);
        QVERIFY(!bar->Marked(0));

        form->n33->trigger(); // the empty second table goes without a question
        QVERIFY(env->questions.isEmpty());
        QVERIFY(bar->parentWidget()->isHidden());
        QCOMPARE(form->size(), single);
    }

    void closeAsksAndLastIsCleared()
    {
        twoTables(u"1\n"_s, u"2\n"_s);
        env->answers = {Answer::Cancel, Answer::No};
        form->n33->trigger();
        QCOMPARE(form->Tables().Count(), 2);
        form->n33->trigger();
        QCOMPARE(form->Tables().Count(), 1);
        QCOMPARE(env->questions.size(), 2);
        QCOMPARE(env->questions[1].text, u"Сохранить последовательность «Стол 2»?"_s);
        QCOMPARE(memo().Text(), u"1\n"_s);

        form->n33->trigger(); // the last one is emptied, undoably
        QCOMPARE(form->Tables().Count(), 1);
        QCOMPARE(memo().Text(), QString());
        memo().Undo();
        QCOMPARE(memo().Text(), u"1\n"_s);
    }

    void exitAsksInTurn()
    {
        twoTables(u"1\n"_s, u"2\n"_s);
        form->n31->trigger(); // a third, empty: nothing to ask
        env->answers = {Answer::No, Answer::Cancel};
        QVERIFY(!form->MayCloseAll());
        QCOMPARE(env->questions.size(), 2);
        QCOMPARE(env->questions[0].text, u"Сохранить последовательность «Стол 1»?"_s);
        QCOMPARE(env->questions[1].text, u"Сохранить последовательность «Стол 2»?"_s);
        QCOMPARE(current(), 1); // where it stopped
        env->answers = {Answer::No, Answer::No};
        QVERIFY(form->MayCloseAll());
    }

    void renameCommand()
    {
        form->n31->trigger();
        env->texts = {u" "_s, u"СТОЛ 1"_s, u"Рулетка 7"_s};
        form->n32->trigger();
        QCOMPARE(env->questions.last().caption, u"Переименовать стол"_s);
        QCOMPARE(env->questions.last().text, u"Название стола:"_s);
        QCOMPARE(env->refusals.size(), 2);
        QCOMPARE(form->tablesBar()->tabText(1), u"Рулетка 7"_s);
    }

    void limitOfTables()
    {
        for (int i = 1; i < TableSet::MaxTables; ++i)
            form->n31->trigger();
        QVERIFY(env->boxes.isEmpty());
        form->n31->trigger();
        QCOMPARE(form->Tables().Count(), TableSet::MaxTables);
        QCOMPARE(env->onlyBox(), FakeEnvironment::MessageBox(
                                     u"Открыто столов: 64. Больше столов открыть нельзя."_s));
    }

    void overviewFollowsAndChooses()
    {
        form->show();
        form->edit1->setText(u"2"_s);
        twoTables(u"0\n1\n2\n"_s, QString());
        form->n34->trigger();
        TablesForm *overview = form->tablesForm();
        QVERIFY(overview && overview->isVisible());
        const TablesModel &model = overview->model();
        const auto cell = [&](int row, int column) {
            return model.data(model.index(row, column), Qt::DisplayRole).toString();
        };
        QCOMPARE(cell(0, TablesModel::SpinsColumn), u"3"_s);
        QCOMPARE(cell(0, TablesModel::LongestColumn), u"3: 3"_s);
        QCOMPARE(cell(0, TablesModel::UnsavedColumn), u"да"_s);
        memo().AppendLine(u"36"_s);
        QTRY_COMPARE(cell(1, TablesModel::SpinsColumn), u"1"_s);
        QVERIFY(cell(1, TablesModel::LastSpinColumn).startsWith(u"36 в "_s));
        QCOMPARE(cell(0, TablesModel::OverColumn), u"3 (3), 4 (3), 5 (3), 6 (3), 7 (3)"_s);

        QTableView *view = overview->tableView();
        view->sortByColumn(TablesModel::SpinsColumn, Qt::AscendingOrder);
        view->setCurrentIndex(view->model()->index(1, 0));
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(current(), 0);
        QVERIFY(!overview->isVisible());
        QCOMPARE(form->focusWidget(), form->listBox1);
    }

    void childWindowsFollow()
    {
        form->show();
        form->n27->trigger();
        form->n28->trigger();
        twoTables(u"4\n"_s, u"8\n9\n"_s);
        QCOMPARE(form->analysisForm()->windowTitle(), u"Анализ последовательности — Стол 2"_s);
        QCOMPARE(NewestSpins(form->History(), 2), (QList<int>{9, 8}));
        form->SelectTable(0);
        QCOMPARE(form->EntryPad()->windowTitle(), u"Панель ввода — Стол 1"_s);
        Q_EMIT form->EntryPad()->spinEntered(30);
        QCOMPARE(memo().Text(), u"4\n30\n"_s);
        QCOMPARE(form->Tables().At(1).history.LineCount(), 3);
        env->answers = {Answer::No};
        form->n33->trigger();
        QCOMPARE(form->analysisForm()->windowTitle(), u"Анализ последовательности"_s);
    }

    void openFiles_data()
    {
        QTest::addColumn<QString>("shown"); // the current table's text before
        QTest::addColumn<bool>("firstHere");
        QTest::addColumn<QStringList>("names"); // of the tables afterwards

        QTest::newRow("command line") << u"9\n"_s << true << QStringList{u"a"_s, u"b"_s};
        QTest::newRow("dropped, empty table") << QString() << false << QStringList{u"a"_s, u"b"_s};
        QTest::newRow("dropped beside a history")
            << u"9\n"_s << false << QStringList{u"Стол 1"_s, u"a"_s, u"b"_s};
    }
    void openFiles()
    {
        QFETCH(QString, shown);
        QFETCH(bool, firstHere);
        QFETCH(QStringList, names);
        QTemporaryDir folder;
        QVERIFY(WriteRaw(folder.filePath(u"a.txt"_s), "1\r\n"));
        QVERIFY(WriteRaw(folder.filePath(u"b.txt"_s), "2\r\n3\r\n"));
        if (!shown.isEmpty())
            memo().ReplaceText(shown);
        form->OpenFiles({folder.filePath(u"a.txt"_s), folder.filePath(u"missing.txt"_s),
                         folder.filePath(u"b.txt"_s)},
                        firstHere);
        // The file that cannot be read is said, and leaves its table empty.
        QCOMPARE(env->boxes.size(), 1);
        QStringList taken;
        for (int i = 0; i < form->Tables().Count(); ++i)
            if (form->Tables().At(i).history.SpinCount() > 0)
                taken.append(form->Tables().At(i).name);
        QCOMPARE(taken, names);
        QCOMPARE(form->History().SpinCount(), 2); // the last file's table is shown
    }

    void barMovesAndCloses()
    {
        twoTables(u"1\n"_s, QString());
        TablesBar *bar = form->tablesBar();
        bar->moveTab(1, 0); // as a drag does
        QCOMPARE(form->Tables().At(0).name, u"Стол 2"_s);
        QCOMPARE(current(), 0);
        QCOMPARE(memo().Text(), QString());
        env->answers = {Answer::No};
        QTest::mouseClick(bar, Qt::MiddleButton, {}, bar->tabRect(1).center());
        QCOMPARE(env->questions.size(), 1);
        QCOMPARE(form->Tables().Count(), 1);
        QCOMPARE(form->Tables().Current().name, u"Стол 2"_s);
    }
};

QTEST_MAIN(TestTables)
#include "tst_tables.moc"
