#include "RecoveryWindowTest.h"

#include "app/mainwindow/RecoveryTexts.h"
#include "common/Lines.h"
#include "history/HistoryText.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>

using namespace trevolo;
using namespace Qt::StringLiterals;

namespace {

const QString Question = u"Восстановить несохранённую последовательность?"_s;

QStringList Discarded(const QString &folder)
{
    return QDir(folder).entryList({u"discarded-*.txt"_s}, QDir::Files);
}

} // namespace

void TestRecoveryWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    // The history a "load" step loads, unless a test writes its own.
    QVERIFY(WriteRaw(m_dir->filePath(u"spins.txt"_s), "1\r\n"));
    createSurroundings();
    env->folder = m_dir->filePath(u"bin"_s);
    env->state = m_dir->filePath(u"state/trevolo"_s);
}

void TestRecoveryWindow::restart(std::deque<Answer> answers)
{
    const QString folder = env->folder;
    const QString state = env->state;
    destroyAll();
    createSurroundings();
    env->folder = folder;
    env->state = state;
    env->answers = std::move(answers);
    start();
}

void TestRecoveryWindow::cleanup()
{
    destroyAll();
}

void TestRecoveryWindow::start()
{
    createWindow();
    countPassesByErrorBoxes();
    form->Guard([this] { form->FormCreate(); });
    form->show();
    form->StartRecovery();
}

QByteArray TestRecoveryWindow::ownFile() const
{
    if (!form->Recovery())
        return "<no recovery>";
    form->Recovery()->Flush();
    const QString path = form->Recovery()->FilePath();
    return QFileInfo::exists(path) ? ReadRaw(path) : QByteArray("<none>");
}

void TestRecoveryWindow::answeredQuestion_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("Да") << int(Answer::Yes);
    QTest::newRow("Нет") << int(Answer::No);
    QTest::newRow("box closed") << int(Answer::Cancel);
}

void TestRecoveryWindow::answeredQuestion()
{
    QFETCH(int, answer);
    const QString text = Numbers(3000) + u"5"_s;
    const QString leftOver = LeaveEndedRun(state(), text);
    const QDateTime modified = QFileInfo(leftOver).lastModified();
    env->answers = {Answer(answer)};
    start();

    QCOMPARE(env->questions.size(), 1);
    QCOMPARE(env->questions[0].caption, u"Trevolo"_s);
    QCOMPARE(env->questions[0].text, Question);
    QCOMPARE(env->questions[0].details, RecoveryDetails(3001, modified));
    THistoryMemo &memo = *form->listBox1;
    const bool restored = answer == int(Answer::Yes);
    QCOMPARE(memo.Text(), restored ? text : QString());
    QCOMPARE(takePasses(), restored ? 1 : 0);
    // Да: the caret after the newest line, in view; unsaved; the left-over
    // is this run's file now. Нет: kept as a discarded file. Closed: left
    // for the next start.
    QCOMPARE(ownFile(), restored ? HistoryToFileBytes(text) : QByteArray("<none>"));
    QCOMPARE(QFileInfo::exists(leftOver), answer == int(Answer::Cancel));
    QCOMPARE(Discarded(state()).size(), answer == int(Answer::No) ? 1 : 0);
    if (answer == int(Answer::No))
        QCOMPARE(ReadRaw(QDir(state()).filePath(Discarded(state())[0])), HistoryToFileBytes(text));
    if (restored) {
        QCOMPARE(memo.textCursor().position(), memo.document()->characterCount() - 1);
        QVERIFY(memo.viewport()->rect().contains(memo.cursorRect().center()));
        // Keys typed at once land at the end, wherever the keyboard is.
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QWidget *focused = QApplication::focusWidget();
        QVERIFY(focused);
        QTest::keyClicks(focused, u"7\r"_s); // 7, Return
        QCOMPARE(memo.Text(), text + u"7\n"_s);
        env->answers = {Answer::Cancel};
        QVERIFY(!form->MayClose());
    }
}

void TestRecoveryWindow::severalLeftOversNewestFirst()
{
    QVERIFY(Backdate(LeaveEndedRun(state(), u"1\n"_s), 60));
    LeaveEndedRun(state(), u"2\n"_s);

    // One history is shown at a time: after Да the older one waits.
    env->answers = {Answer::Yes};
    start();
    QCOMPARE(env->questions.size(), 1);
    QCOMPARE(form->listBox1->Text(), u"2\n"_s);
    // The next start: the run before (unsaved "2") first, then the older.
    restart({Answer::No, Answer::Yes});
    QCOMPARE(env->questions.size(), 2);
    QCOMPARE(form->listBox1->Text(), u"1\n"_s);
    QCOMPARE(Discarded(state()).size(), 1);
    QCOMPARE(ReadRaw(QDir(state()).filePath(Discarded(state())[0])), "2\r\n");
}

void TestRecoveryWindow::emptyOrCutFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("offered"); // empty: no question
    QTest::newRow("empty") << u"recovery-a.txt"_s << QByteArray() << QString();
    QTest::newRow("killed before its first rename")
        << u"recovery-b.txt.tmp"_s << QByteArray("1\r\n2") << u"1\n2"_s;
    QTest::newRow("cut in a line")
        << u"recovery-c.txt"_s << QByteArray("5\r\n17\r\n3") << u"5\n17\n3"_s;
}

// What a run that died left: an empty file goes, a lone temporary file and
// a file cut in a line are offered as they are.
void TestRecoveryWindow::emptyOrCutFiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, offered);
    QVERIFY(MakePrivateFolder(state()) == std::nullopt);
    QVERIFY(WriteRaw(QDir(state()).filePath(name), bytes));
    env->answers = {Answer::Yes};
    start();
    QCOMPARE(env->questions.size(), offered.isEmpty() ? 0 : 1);
    QCOMPARE(form->listBox1->Text(), offered);
    QCOMPARE(QFileInfo::exists(QDir(state()).filePath(name)), false);
}

void TestRecoveryWindow::unusableStateFolder()
{
    QVERIFY(WriteRaw(m_dir->filePath(u"file"_s), "x"));
    env->state = m_dir->filePath(u"file/trevolo"_s);
    start();
    // Said once; the window works on without recovery.
    QCOMPARE(env->boxes.size(), 1);
    QCOMPARE(env->boxes[0].text,
             u"Не удалось сохранить копию для восстановления: папка «%1/trevolo»: на пути к "
             u"папке стоит файл. Сохраните последовательность."_s.arg(m_dir->filePath(u"file"_s)));
    QVERIFY(!form->Recovery());
    form->EnterSpin(5);
    form->KeepForRecovery();
    QCOMPARE(form->listBox1->Text(), u"5\n"_s);
}

// A write of the recovery file that fails is said, once, and again after
// the next failure once a write has succeeded in between.
void TestRecoveryWindow::failedWritesAreSaid()
{
    start();
    // A folder where the temporary file is to be made fails every write.
    const QString blocker = form->Recovery()->FilePath() + u".tmp"_s;
    const QString said = u"Не удалось сохранить копию для восстановления: на месте файла стоит "
                         u"папка. Сохраните последовательность."_s;
    for (const bool fails : {true, true, false, true}) {
        QVERIFY(fails ? QDir().mkpath(blocker) : QDir(blocker).removeRecursively());
        form->EnterSpin(5);
        form->KeepForRecovery();
        form->Recovery()->Flush();
        QTRY_COMPARE(form->statusBar1->currentMessage(), fails ? said : QString());
    }
    QStringList boxes;
    for (const auto &box : std::as_const(env->boxes))
        boxes << box.text;
    boxes.removeAll(u"'x' is not a valid integer value."_s); // the statistics passes
    QCOMPARE(boxes, QStringList({said, said}));
    QCOMPARE(ownFile(), HistoryToFileBytes(u"5\n5\n5\n"_s));
}

void TestRecoveryWindow::changesReachTheFile_data()
{
    // Steps as TakeHistoryStep takes them; spins.txt holds "1\r\n".
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QByteArray>("file");
    const QByteArray none = "<none>";
    QTest::newRow("typed") << QStringList{u"type:5"_s} << QByteArray("5\r\n");
    QTest::newRow("typed, saved") << QStringList{u"type:5"_s, u"save"_s} << none;
    QTest::newRow("saved, typed") << QStringList{u"type:5"_s, u"save"_s, u"type:7"_s}
                                  << QByteArray("5\r\n7\r\n");
    QTest::newRow("back to the saved text")
        << QStringList{u"type:5"_s, u"save"_s, u"type:7"_s, u"erase"_s, u"erase"_s} << none;
    QTest::newRow("cleared") << QStringList{u"type:5"_s, u"clear"_s} << none;
    QTest::newRow("clear undone") << QStringList{u"type:5"_s, u"clear"_s, u"undo"_s}
                                  << QByteArray("5\r\n");
    QTest::newRow("loaded") << QStringList{u"type:5"_s, u"load"_s} << none;
    QTest::newRow("load undone") << QStringList{u"type:5"_s, u"load"_s, u"undo"_s}
                                 << QByteArray("5\r\n");
    QTest::newRow("generated") << QStringList{u"load"_s, u"generate"_s}
                               << HistoryToFileBytes(u"1\n"_s + ReferenceSpins(1, 5).join(u'\n') +
                                                     u'\n');
}

// Every change reaches the file, unless the history is what was last
// loaded, saved or cleared: then there is no file.
void TestRecoveryWindow::changesReachTheFile()
{
    QFETCH(QStringList, steps);
    QFETCH(QByteArray, file);
    start();
    for (const QString &name : steps)
        step(name);
    // Within the timer's delay, without a further change.
    QTRY_COMPARE(ownFile(), file);
}

void TestRecoveryWindow::replacedTextsAreKept_data()
{
    // Steps as in changesReachTheFile, and first "recovered": 8 spins left
    // by a past run, restored at start.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("offered"); // the text offered next, "" for none
    QTest::addColumn<QString>("details"); // its informative text: start and end
    QTest::newRow("load over typed") << u"type:5 load"_s.split(u' ') << u"5\n"_s
                                     << u"Заменена загрузкой файла «spins.txt» |: 1 строка."_s;
    QTest::newRow("Очистить over typed") << u"type:5 type:17 clear"_s.split(u' ') << u"5\n17\n"_s
                                         << u"Заменена очисткой |: 2 строки."_s;
    QTest::newRow("recovered, then a line typed and undone past the recovery")
        << u"recovered type:1 undo undo undo"_s.split(u' ') << Numbers(8, 5)
        << u"Прошлый сеанс завершился, не сохранив её: 8 строк, |."_s;
    QTest::newRow("load over typed, then a normal end")
        << u"type:5 load close"_s.split(u' ') << QString() << QString();
}

// A text that was never saved and that a load or "Очистить" replaced, or
// that Undo can still bring back, is there after the run ends without
// closing (as after a signal or a crash); a normal end removes it.
void TestRecoveryWindow::replacedTextsAreKept()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, offered);
    QFETCH(QString, details);
    if (steps.front() == u"recovered")
        LeaveEndedRun(state(), Numbers(8, 5));
    env->answers = {Answer::Yes};
    start();
    for (const QString &name : steps) {
        if (name != u"recovered")
            step(name);
        // What the timer does after each change, before the next; a normal
        // end has stopped it.
        if (name != u"close")
            form->KeepForRecovery();
    }
    restart({Answer::Yes});
    QCOMPARE(env->questions.size(), offered.isEmpty() ? 0 : 1);
    QCOMPARE(form->listBox1->Text(), offered);
    const QString shown = env->questions.value(0).details;
    QVERIFY2(shown.startsWith(details.section(u'|', 0, 0)) &&
                 shown.endsWith(details.section(u'|', 1)),
             qPrintable(shown));
}

void TestRecoveryWindow::interruptedSave_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("Да") << int(Answer::Yes);
    QTest::newRow("Нет") << int(Answer::No);
}

// A save in place killed between its writes left the new lines over the
// old tail, and the copy of the old content with its note: the start offers
// to write the copy back.
void TestRecoveryWindow::interruptedSave()
{
    QFETCH(int, answer);
    const QString file = m_dir->filePath(u"spins.txt"_s);
    QVERIFY(WriteRaw(file, "1\r\n2\r\n3\r\n10\r\n11\r\n"));
    const QString copy = QDir(state()).filePath(u"spins.txt.20261208-120000.old"_s);
    QVERIFY(MakePrivateFolder(state()) == std::nullopt);
    QVERIFY(WriteRaw(copy, "7\r\n8\r\n9\r\n10\r\n11\r\n"));
    QVERIFY(WriteRaw(copy + u".file"_s, file.toUtf8()));
    env->answers = {Answer(answer)};
    start();
    QCOMPARE(env->questions.size(), 1);
    QCOMPARE(
        env->questions[0].text,
        u"Сохранение в «%1» было прервано. Восстановить прежнее содержимое файла?"_s.arg(file));
    const bool restored = answer == int(Answer::Yes);
    QCOMPARE(ReadRaw(file),
             restored ? "7\r\n8\r\n9\r\n10\r\n11\r\n"_ba : "1\r\n2\r\n3\r\n10\r\n11\r\n"_ba);
    QVERIFY(!QFileInfo::exists(copy) && !QFileInfo::exists(copy + u".file"_s));
    QCOMPARE(Discarded(state()).size(), restored ? 0 : 1);
    // Asked once only.
    restart({});
    QVERIFY(env->questions.isEmpty());
}

void TestRecoveryWindow::closingRemovesTheFile_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closed");
    QTest::newRow("Нет") << int(Answer::No) << true;
    QTest::newRow("Да, saved") << int(Answer::Yes) << true;
    QTest::newRow("Отмена") << int(Answer::Cancel) << false;
}

void TestRecoveryWindow::closingRemovesTheFile()
{
    QFETCH(int, answer);
    QFETCH(bool, closed);
    start();
    form->EnterSpin(17);
    form->KeepForRecovery();
    QCOMPARE(ownFile(), "17\r\n");
    env->answers = {Answer(answer)};
    env->saveAnswers.push_back(FileChoice{m_dir->filePath(u"saved.txt"_s), {}});
    step(u"close"_s);
    QCOMPARE(form->isVisible(), !closed);
    QCOMPARE(ownFile(), closed ? QByteArray("<none>") : QByteArray("17\r\n"));
}

void TestRecoveryWindow::tablesComeBackTogether_data()
{
    interruptedSave_data();
}

// Three tables, two of them unsaved and one renamed, end without questions
// (as at a termination signal): the next start asks once for both.
void TestRecoveryWindow::tablesComeBackTogether()
{
    QFETCH(int, answer);
    start();
    form->listBox1->ReplaceText(u"1\n2\n"_s);
    form->n31->trigger(); // an empty one in between: nothing to keep
    form->n31->trigger();
    form->listBox1->ReplaceText(u"36\n"_s);
    env->texts = {u"Вторая рулетка"_s};
    form->n32->trigger();
    form->SelectTable(0);
    form->CloseWithoutQuestions();
    restart({Answer(answer)});
    QCOMPARE(env->questions.size(), 1);
    QCOMPARE(env->questions[0].text, u"Восстановить несохранённые столы?"_s);
    QCOMPARE(env->questions[0].details,
             u"Прошлый сеанс завершился, не сохранив их: Стол 1 (2 строки), Вторая рулетка (1 "
             u"строка)."_s);
    const bool restored = answer == int(Answer::Yes);
    QCOMPARE(form->Tables().Count(), restored ? 2 : 1); // the empty one stays away
    QCOMPARE(Discarded(state()).size(), restored ? 0 : 2);
    if (!restored)
        return;
    QCOMPARE(form->Tables().CurrentIndex(), 0);
    QCOMPARE(form->listBox1->Text(), u"1\n2\n"_s);
    QCOMPARE(form->Tables().At(1).name, u"Вторая рулетка"_s);
    QCOMPARE(form->Tables().At(1).history.LineCount(), 2);
    QVERIFY(form->Tables().At(1).unsaved);
}
