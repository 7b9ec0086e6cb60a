// The window's commands end to end: history commands and files, the stake
// calculator, the help and web links. The fake environment answers the file
// dialogs and records message boxes and opened addresses.
#include "TestFiles.h"
#include "TestHistories.h"
#include "window/WindowFixture.h"

#include "analysis/Statistics.h"
#include "app/HistoryTail.h"
#include "app/Unit1.h"
#include "common/Lines.h"
#include "history/HistoryText.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QTimer>
#include <QUrlQuery>

using namespace trevolo;
using namespace Qt::StringLiterals;

namespace {

const QString BadThresholdBox = u"'x' is not a valid integer value."_s;
const QString CalculatorMessage = u"Введены неверные данные. Проверьте ввод."_s;

} // namespace

class TestCommands : public QObject, private WindowFixture
{
    Q_OBJECT

private:
    QTemporaryDir dir;

    THistoryMemo &memo() const { return *form->listBox1; }
    QAction &item(const QString &name) const
    {
        auto *action = form->FindComponentAs<QAction>(name);
        if (!action)
            qFatal("no menu item %s", qPrintable(name));
        return *action;
    }
    QString path(const QString &name) const { return dir.filePath(name); }
    void answerOpen(const QString &file)
    {
        env->openAnswers.push_back(FileChoice{file, u"Текстовые файлы (*.txt)"_s});
    }
    void answerSave(const QString &file)
    {
        env->saveAnswers.push_back(FileChoice{file, u"Текстовые файлы (*.txt)"_s});
    }
    // From here on every statistics pass fails on the threshold and shows one
    // error box, so the boxes count the passes.
    void countPassesByErrorBoxes()
    {
        form->edit1->setText(u"x"_s);
        env->boxes.clear();
    }
    int passesCounted() const
    {
        int passes = 0;
        for (const auto &box : env->boxes)
            passes += box.error && box.text == BadThresholdBox;
        return passes;
    }
    QStringList calculatorFields() const
    {
        QStringList texts;
        for (QLineEdit *edit : {form->edit4, form->edit5, form->edit6, form->edit7, form->edit8,
                                form->edit9, form->edit10, form->edit11, form->edit12})
            texts.append(edit->text());
        return texts;
    }

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void generate_data();
    void generate();
    void generatorKeepsItsSequenceAcrossCommands();
    void generateAfterASoftLineBreak();
    void fiftyIntoAHundredLines();
    void passesPerCommand_data();
    void passesPerCommand();

    void loadThenSave_data();
    void loadThenSave();
    void loadedTextWithoutFinalBreakStaysSo();
    void longLoadShowsProgressAndTakesNoInput();
    void cancelledLoadLeavesTheHistory();
    void largePasteIsOneUndoableChange_data();
    void largePasteIsOneUndoableChange();
    void largePasteKeepsTheUndoHistory();
    void overlongLineIsFoldedAndKeptExact();
    void longLinesWrapAtTheMemoWidth();
    void oddFilesLoadExactly_data();
    void oddFilesLoadExactly();
    void anyBytesLoad_data();
    void anyBytesLoad();
    void saveReplacesWithoutAQuestion();
    void dialogsKeepTheirOwnChoice();
    void loadErrors_data();
    void loadErrors();
    void saveErrors_data();
    void saveErrors();
    void failedWriteKeepsTheOldFile();

    void calculator_data();
    void calculator();
    void calculatorFollowsTyping();

    void links_data();
    void links();

    void closeAsksAboutAChangedHistory_data();
    void closeAsksAboutAChangedHistory();

    // Last: they run and end the application's message loop.
    void quitAsksAndCanBeRefused();
    void exitClosesTheWindow();
};

void TestCommands::initTestCase()
{
    QVERIFY(dir.isValid());
}

void TestCommands::init()
{
    createAll();
}

void TestCommands::cleanup()
{
    destroyAll();
    QDir(dir.path()).removeRecursively();
    QDir().mkpath(dir.path());
}

// ----------------------------------------------------------------- generate

void TestCommands::generate_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("before");

    const struct
    {
        const char16_t *popup, *main;
        int count;
    } commands[] = {{u"N51", u"N52", 5},
                    {u"N101", u"N102", 10},
                    {u"N251", u"N252", 25},
                    {u"N501", u"N502", 50}};
    for (const auto &command : commands) {
        const QString popup = QString::fromUtf16(command.popup);
        const QString main = QString::fromUtf16(command.main);
        QTest::addRow("%s empty", qPrintable(popup)) << popup << command.count << QString();
        QTest::addRow("%s empty", qPrintable(main)) << main << command.count << QString();
        QTest::addRow("%s typed without break", qPrintable(popup))
            << popup << command.count << u"12"_s;
        QTest::addRow("%s ends with a break", qPrintable(main))
            << main << command.count << u"3\n40\nabc\n"_s;
    }
    QTest::newRow("only a break") << u"N51"_s << 5 << u"\n"_s;
    QTest::newRow("empty last lines") << u"N52"_s << 5 << u"7\n\n\n"_s;
}

void TestCommands::generate()
{
    QFETCH(QString, item);
    QFETCH(int, count);
    QFETCH(QString, before);

    form->show();
    memo().ReplaceText(before);
    // Connected after the window's own pass, so each call sees the pass done.
    QStringList linesShown;
    QStringList memoLines;
    QObject watcher;
    connect(&memo(), &QPlainTextEdit::textChanged, &watcher, [&] {
        linesShown.append(form->edit13->text());
        memoLines.append(QString::number(CountLines(memo().Text())));
    });

    this->item(item).trigger();

    const QStringList drawn = ReferenceSpins(1, count);
    const bool endsWithBreak = before.isEmpty() || before.endsWith(u'\n');
    const QString expected =
        endsWithBreak ? before + drawn.join(u'\n') + u'\n' : before + u'\n' + drawn.join(u'\n');
    QCOMPARE(memo().Text(), expected);
    // One change and one pass per spin, each pass over the memo as it was
    // right after that spin was appended.
    QCOMPARE(linesShown.size(), count);
    QCOMPARE(linesShown, memoLines);
    QCOMPARE(linesShown.last(), QString::number(CountLines(expected)));
    QVERIFY(env->boxes.isEmpty());
    // The caret stays after the newest spin.
    QCOMPARE(memo().textCursor().position(), memo().document()->characterCount() - 1);
}

void TestCommands::generatorKeepsItsSequenceAcrossCommands()
{
    // The first spins of seed 1, worked out by hand.
    item(u"N51"_s).trigger();
    QCOMPARE(memo().Text(), u"1\n31\n7\n10\n24\n"_s);

    item(u"N16"_s).trigger(); // clearing leaves the source alone
    item(u"N102"_s).trigger();
    item(u"N251"_s).trigger();
    QCOMPARE(memo().Text(), ReferenceSpins(1, 40).mid(5).join(u'\n') + u'\n');
}

void TestCommands::generateAfterASoftLineBreak()
{
    // Shift+Enter makes a soft line break; the history reads it as a line
    // break like any other, and the next spin follows it directly.
    QTest::keyClicks(&memo(), u"5"_s);
    QTest::keyClick(&memo(), Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(memo().Text(), u"5\n"_s);
    item(u"N51"_s).trigger();
    QCOMPARE(memo().Text(), u"5\n"_s + ReferenceSpins(1, 5).join(u'\n') + u'\n');
    QCOMPARE(form->edit13->text(), u"6"_s);
}

void TestCommands::fiftyIntoAHundredLines()
{
    form->show();
    const QString before = Numbers(100);
    memo().ReplaceText(before);
    memo().moveCursor(QTextCursor::Start);
    QApplication::processEvents();
    QCOMPARE(memo().verticalScrollBar()->value(), 0);

    item(u"N501"_s).trigger();
    QApplication::processEvents();

    QCOMPARE(CountLines(memo().Text()), 150);
    QCOMPARE(form->edit13->text(), u"150"_s);
    QVERIFY(memo().Text().startsWith(before));
    // Scrolled down: the caret after the newest line is in view, the first
    // line no longer is.
    QVERIFY(memo().verticalScrollBar()->value() > 0);
    QVERIFY(memo().viewport()->rect().contains(memo().cursorRect()));
    const QTextCursor newest(memo().document()->findBlockByNumber(149));
    QVERIFY(memo().viewport()->rect().contains(memo().cursorRect(newest)));
}

// How many statistics passes and memo changes each command makes.
void TestCommands::passesPerCommand_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QByteArray>("file"); // the file chosen; none: cancelled
    QTest::addColumn<int>("passes");
    QTest::addColumn<int>("changes");
    QTest::addColumn<QString>("after");

    const QByteArray cancel;
    QTest::newRow("clear empty") << u"N1"_s << QString() << cancel << 1 << 0 << QString();
    QTest::newRow("clear") << u"N16"_s << u"5\n17"_s << cancel << 1 << 0 << QString();
    QTest::newRow("load cancelled") << u"N5"_s << u"5\n17"_s << cancel << 1 << 0 << u"5\n17"_s;
    QTest::newRow("load same text")
        << u"N5"_s << u"5\n17\n"_s << QByteArray("5\r\n17\r\n") << 1 << 0 << u"5\n17\n"_s;
    QTest::newRow("load same text, LF file")
        << u"N5"_s << u"5\n17\n"_s << QByteArray("5\n17\n") << 1 << 0 << u"5\n17\n"_s;
    // A loaded text is one change with exactly one pass after it.
    QTest::newRow("load other text")
        << u"N5"_s << u"5\n17\n"_s << QByteArray("5\r\n17") << 1 << 1 << u"5\n17"_s;
    QTest::newRow("load empty file")
        << u"N5"_s << u"5\n"_s << QByteArray("") << 1 << 1 << QString();
    QTest::newRow("save") << u"N6"_s << u"5\n"_s << QByteArray("") << 0 << 0 << u"5\n"_s;
    QTest::newRow("save cancelled") << u"N6"_s << u"5\n"_s << cancel << 0 << 0 << u"5\n"_s;
    QTest::newRow("generate 5") << u"N52"_s << u"5"_s << cancel << 5 << 5
                                << u"5\n"_s + ReferenceSpins(1, 5).join(u'\n');
    QTest::newRow("generate 50") << u"N501"_s << QString() << cancel << 50 << 50
                                 << ReferenceSpins(1, 50).join(u'\n') + u'\n';
}

void TestCommands::passesPerCommand()
{
    QFETCH(QString, item);
    QFETCH(QString, before);
    QFETCH(QByteArray, file);
    QFETCH(int, passes);
    QFETCH(int, changes);
    QFETCH(QString, after);

    memo().ReplaceText(before);
    if (!file.isNull()) {
        QVERIFY(WriteRaw(path(u"spins.txt"_s), file));
        answerOpen(path(u"spins.txt"_s));
        answerSave(path(u"spins.txt"_s));
    }
    countPassesByErrorBoxes();
    QSignalSpy changed(&memo(), &QPlainTextEdit::textChanged);

    this->item(item).trigger();

    QCOMPARE(memo().Text(), after);
    QCOMPARE(changed.size(), changes);
    QCOMPARE(passesCounted(), passes);
    QCOMPARE(env->boxes.size(), passes); // and no other box

    // With a good threshold the statistics show the history after the command.
    form->edit1->setText(u"170"_s);
    env->boxes.clear();
    memo().ReplaceText(before);
    if (!file.isNull()) {
        answerOpen(path(u"spins.txt"_s));
        answerSave(path(u"spins.txt"_s));
    }
    form->edit13->setText(u"?"_s);
    this->item(item).trigger();
    QVERIFY(env->boxes.isEmpty());
    QCOMPARE(form->edit13->text(), passes ? QString::number(CountLines(memo().Text())) : u"?"_s);
}

// -------------------------------------------------------------------- files

void TestCommands::loadThenSave_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("history");
    QTest::addColumn<QByteArray>("saved");

    QTest::newRow("5, 17, 0") << QByteArray::fromHex("350d0a31370d0a300d0a") << u"5\n17\n0\n"_s
                              << QByteArray::fromHex("350d0a31370d0a300d0a");
    QTest::newRow("LF only") << QByteArray("5\n17\n0\n") << u"5\n17\n0\n"_s
                             << QByteArray("5\r\n17\r\n0\r\n");
    QTest::newRow("mixed") << QByteArray("1\r\n2\n3\r4\n\r5") << u"1\n2\n3\n4\n\n5"_s
                           << QByteArray("1\r\n2\r\n3\r\n4\r\n\r\n5");
    QTest::newRow("other text") << QByteArray("abc\r\n40\r\n-1") << u"abc\n40\n-1"_s
                                << QByteArray("abc\r\n40\r\n-1");
    QTest::newRow("code page 1251") << QByteArray("\xc7\xe5\xf0\xee \xb9\r\n") << u"Зеро №\n"_s
                                    << QByteArray("\xc7\xe5\xf0\xee \xb9\r\n");
    QTest::newRow("no-break space") << QByteArray::fromHex("a035a00d0a") << u"\u00a05\u00a0\n"_s
                                    << QByteArray::fromHex("a035a00d0a");
    QTest::newRow("empty") << QByteArray() << QString() << QByteArray();
}

void TestCommands::loadThenSave()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, history);
    QFETCH(QByteArray, saved);

    QVERIFY(WriteRaw(path(u"in.txt"_s), file));
    answerOpen(path(u"in.txt"_s));
    memo().ReplaceText(u"1\n"_s);
    item(u"N5"_s).trigger();
    QCOMPARE(memo().Text(), history);
    QCOMPARE(form->edit13->text(), QString::number(CountLines(history)));

    answerSave(path(u"out.txt"_s));
    item(u"N6"_s).trigger();
    QCOMPARE(ReadRaw(path(u"out.txt"_s)), saved);
    QVERIFY(env->boxes.isEmpty());
    // Saving touches neither the history nor the file it was loaded from.
    QCOMPARE(memo().Text(), history);
    QCOMPARE(ReadRaw(path(u"in.txt"_s)), file);
}

namespace {

// A history file of `lines` spins and a few lines that are none.
QByteArray LongHistoryFile(int lines)
{
    QByteArray bytes;
    for (int i = 0; i < lines; ++i)
        bytes += (i % 1000 == 999 ? QByteArray("x") : QByteArray::number(i * 7 % 37)) + "\r\n";
    return bytes;
}

// The figures of the memo's pass beside those of the full pass.
void CompareWithFullPass(THistoryMemo &memo)
{
    const HistoryStatistics model = memo.Spins().Statistics(u"9");
    const HistoryStatistics full = ComputeStatistics(memo.Text(), u"9");
    QCOMPARE(model.lineCount, full.lineCount);
    QCOMPARE(model.spinCount, full.spinCount);
    QCOMPARE(model.absence, full.absence);
    QCOMPARE(model.occurrence, full.occurrence);
    QCOMPARE(model.missRuns, full.missRuns);
    QCOMPARE(model.statusText, full.statusText);
}

} // namespace

void TestCommands::longLoadShowsProgressAndTakesNoInput()
{
    memo().ReplaceText(u"5\n17\n"_s);
    const QByteArray bytes = LongHistoryFile(150000);
    QVERIFY(WriteRaw(path(u"long.txt"_s), bytes));
    answerOpen(path(u"long.txt"_s));
    countPassesByErrorBoxes();
    QSignalSpy changed(&memo(), &QPlainTextEdit::textChanged);

    // Between pieces the window handles events but takes no input: a key
    // typed into the memo changes nothing.
    QStringList seen;
    env->onProgress = [&](int) {
        const QCursor *cursor = QApplication::overrideCursor();
        seen << u"%1 %2 %3"_s.arg(form->centralWidget()->isEnabled())
                    .arg(form->menuBar()->isEnabled())
                    .arg(cursor ? int(cursor->shape()) : -1);
        QTest::keyClick(&memo(), Qt::Key_9);
    };
    item(u"N5"_s).trigger();

    QCOMPARE(memo().Text(), HistoryFromFileBytes(bytes));
    QCOMPARE(changed.size(), 1);
    QCOMPARE(passesCounted(), 1);
    QVERIFY2(seen.size() > 3, qPrintable(env->progress.join(u' ')));
    QCOMPARE(seen.count(u"0 0 %1"_s.arg(int(Qt::BusyCursor))), seen.size());
    QCOMPARE(env->progress.first(), u"start Загрузка истории..."_s);
    QCOMPARE(env->progress.last(), u"100"_s);
    for (qsizetype i = 2; i < env->progress.size(); ++i)
        QVERIFY(env->progress[i].toInt() >= env->progress[i - 1].toInt());
    QVERIFY(form->centralWidget()->isEnabled());
    QVERIFY(!QApplication::overrideCursor());
    CompareWithFullPass(memo());

    // The loaded history is edited as any other.
    memo().moveCursor(QTextCursor::End);
    QTest::keyClicks(&memo(), u"12"_s);
    QTest::keyClick(&memo(), Qt::Key_Return);
    QVERIFY(memo().Text().endsWith(u"\n12\n"_s));
    CompareWithFullPass(memo());
}

void TestCommands::cancelledLoadLeavesTheHistory()
{
    memo().ReplaceText(u"5\n17\n"_s);
    memo().moveCursor(QTextCursor::End);
    QTest::keyClicks(&memo(), u"3"_s);
    const QTextDocument *before = memo().document();
    QVERIFY(WriteRaw(path(u"long.txt"_s), LongHistoryFile(150000)));
    answerOpen(path(u"long.txt"_s));
    countPassesByErrorBoxes();
    QSignalSpy changed(&memo(), &QPlainTextEdit::textChanged);
    env->cancelAtPercent = 1;

    item(u"N5"_s).trigger();

    QCOMPARE(memo().Text(), u"5\n17\n3"_s);
    QCOMPARE(memo().document(), before);
    QVERIFY(memo().document()->isUndoAvailable());
    QCOMPARE(changed.size(), 0);
    QCOMPARE(passesCounted(), 1); // as when the same text is loaded again
    QVERIFY(env->progress.size() < 10);
    QVERIFY(form->centralWidget()->isEnabled());
    QVERIFY(!QApplication::overrideCursor());
    CompareWithFullPass(memo());
}

void TestCommands::largePasteIsOneUndoableChange_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("pasted");
    QTest::newRow("between lines") << u"5\n17\n3\n"_s << 2 << 2 << u"1\n2\n3\n"_s;
    QTest::newRow("over a selection") << u"5\n17\n3"_s << 5 << 2 << u"8\r\n9\r\n10"_s;
    QTest::newRow("lone CR before a break") << u"5\n17"_s << 1 << 1 << u"1\r2\r"_s;
    QTest::newRow("soft breaks stay") << u"5\u202817\n3"_s << 6 << 6 << u"\n4\n5\n"_s;
    QTest::newRow("into nothing") << QString() << 0 << 0 << u"0\n1\n2"_s;
}

void TestCommands::largePasteIsOneUndoableChange()
{
    QFETCH(QString, text);
    QFETCH(int, anchor);
    QFETCH(int, position);
    QFETCH(QString, pasted);
    const auto place = [&](THistoryMemo &into) {
        into.ReplaceText(text);
        QTextCursor cursor(into.document());
        cursor.setPosition(anchor);
        cursor.setPosition(position, QTextCursor::KeepAnchor);
        into.setTextCursor(cursor);
    };
    QApplication::clipboard()->setText(pasted);
    THistoryMemo qtOwn; // no large insert: the paste Qt does itself
    place(qtOwn);
    QTest::keyClick(&qtOwn, Qt::Key_V, Qt::ControlModifier);

    memo().SetLargeInsertBreaks(2);
    place(memo());
    const QString before = memo().document()->toRawText();
    countPassesByErrorBoxes();
    QTest::keyClick(&memo(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(env->progress.value(0), u"start Вставка текста..."_s);
    QCOMPARE(memo().document()->toRawText(), qtOwn.document()->toRawText());
    QCOMPARE(memo().textCursor().position(), qtOwn.textCursor().position());
    QCOMPARE(passesCounted(), 1);
    CompareWithFullPass(memo());

    QTest::keyClick(&memo(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(memo().document()->toRawText(), before);
    QCOMPARE(memo().textCursor().anchor(), anchor);
    QCOMPARE(memo().textCursor().position(), position);
    CompareWithFullPass(memo());
    QTest::keyClick(&memo(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(memo().document()->toRawText(), qtOwn.document()->toRawText());
    QCOMPARE(passesCounted(), 3);
    CompareWithFullPass(memo());
}

void TestCommands::largePasteKeepsTheUndoHistory()
{
    memo().SetLargeInsertBreaks(2);
    memo().ReplaceText(u"5\n"_s);
    memo().moveCursor(QTextCursor::End);
    QTest::keyClicks(&memo(), u"1"_s);
    QApplication::clipboard()->setText(u"\n2\n3"_s);
    const auto key = [&](Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(&memo(), Qt::Key_Z, Qt::ControlModifier | modifiers);
        return memo().Text();
    };
    env->cancelAtPercent = 1;
    const QTextDocument *typedInto = memo().document();
    QTest::keyClick(&memo(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(memo().Text(), u"5\n1"_s); // cancelled: nothing changed
    QCOMPARE(memo().document(), typedInto);
    env->cancelAtPercent = 1000;
    QTest::keyClick(&memo(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(memo().Text(), u"5\n1\n2\n3"_s);

    // Back through the paste into what was typed before it, and forward again.
    QCOMPARE(key(Qt::NoModifier), u"5\n1"_s);
    QCOMPARE(key(Qt::NoModifier), u"5\n"_s);
    QCOMPARE(key(Qt::ShiftModifier), u"5\n1"_s);
    QCOMPARE(key(Qt::ShiftModifier), u"5\n1\n2\n3"_s);
    // A fresh edit after Undo ends what Redo could bring back.
    QCOMPARE(key(Qt::NoModifier), u"5\n1"_s);
    QTest::keyClicks(&memo(), u"7"_s);
    QCOMPARE(key(Qt::ShiftModifier), u"5\n17"_s);
    QCOMPARE(memo().SpinFeed().Rebuilds(), 0);
    CompareWithFullPass(memo());
}

void TestCommands::overlongLineIsFoldedAndKeptExact()
{
    // A spin behind 70,000 blanks: one line the memo shows folded.
    const QByteArray file = "5\r\n" + QByteArray(70000, ' ') + "7\r\n8\r\n";
    QVERIFY(WriteRaw(path(u"in.txt"_s), file));
    answerOpen(path(u"in.txt"_s));
    item(u"N5"_s).trigger();
    QCOMPARE(memo().document()->findBlockByNumber(1).text(),
             QString(QChar::ObjectReplacementCharacter));
    QCOMPARE(memo().Text(), HistoryFromFileBytes(file));
    CompareWithFullPass(memo());
    QCOMPARE(LastSpins(*memo().document(), 3), (QList<int>{8, 7, 5}));

    // Typed beside the folded line, the line is the longer text.
    QTextCursor cursor(memo().document()->findBlockByNumber(1));
    memo().setTextCursor(cursor);
    QTest::keyClicks(&memo(), u" "_s);
    QCOMPARE(memo().Text(), u"5\n "_s + QString(70000, u' ') + u"7\n8\n"_s);
    CompareWithFullPass(memo());
    QTest::keyClick(&memo(), Qt::Key_Z, Qt::ControlModifier);

    QTest::keyClick(&memo(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&memo(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), memo().Text());
    answerSave(path(u"out.txt"_s));
    item(u"N6"_s).trigger();
    QCOMPARE(ReadRaw(path(u"out.txt"_s)), file);
    QCOMPARE(memo().TextLength(), memo().Text().size());

    // Pasted (a long line goes the way of a long paste), then taken back.
    memo().moveCursor(QTextCursor::End);
    QApplication::clipboard()->setText(QString(70001, u'1'));
    QTest::keyClick(&memo(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(memo().Text(), HistoryFromFileBytes(file) + QString(70001, u'1'));
    QCOMPARE(memo().document()->blockCount(), 4);
    QCOMPARE(memo().textCursor().position(), memo().document()->characterCount() - 1);
    CompareWithFullPass(memo());
    QTest::keyClick(&memo(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(memo().Text(), HistoryFromFileBytes(file));
}

void TestCommands::longLinesWrapAtTheMemoWidth()
{
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QVERIFY(WriteRaw(path(u"in.txt"_s), "5\r\n" + QByteArray(300, '1') + "\r\n7\r\n"));
    answerOpen(path(u"in.txt"_s));
    item(u"N5"_s).trigger();                                  // laid out beside the memo
    memo().ReplaceText(memo().Text() + u"2"_s.repeated(300)); // and in it
    QApplication::processEvents();
    for (const int number : {1, 3}) {
        const QTextBlock block = memo().document()->findBlockByNumber(number);
        memo().document()->documentLayout()->blockBoundingRect(block); // laid out if not yet
        const QTextLayout *layout = block.layout();
        QVERIFY(layout->lineCount() > 10);
        for (int i = 0; i < layout->lineCount(); ++i)
            QVERIFY(layout->lineAt(i).naturalTextWidth() <= memo().viewport()->width());
    }
    QVERIFY(memo().verticalScrollBar()->maximum() > 20);
}

void TestCommands::oddFilesLoadExactly_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("NUL bytes") << QByteArray("1\r\n\0\r\n2\0\r\n\0\0\r\n36", 15);
    QTest::newRow("one line of 3 MiB") << QByteArray(3 << 20, '7');
    QTest::newRow("a long line among spins")
        << QByteArray("5\r\n") + QByteArray((1 << 20) + 5, '1') + "\r\n\r\n8\r\n";
    QTest::newRow("only breaks") << QByteArray(300000, '\n');
    QTest::newRow("lone CRs") << QByteArray("1\r2\r\r3\n\r4");
}

void TestCommands::oddFilesLoadExactly()
{
    QFETCH(QByteArray, bytes);
    memo().ReplaceText(u"5\n"_s);
    QVERIFY(WriteRaw(path(u"odd.txt"_s), bytes));
    answerOpen(path(u"odd.txt"_s));
    item(u"N5"_s).trigger();
    QCOMPARE(memo().Text(), HistoryFromFileBytes(bytes));
    QCOMPARE(memo().SpinFeed().Rebuilds(), 0);
    CompareWithFullPass(memo());
}

void TestCommands::loadedTextWithoutFinalBreakStaysSo()
{
    QVERIFY(WriteRaw(path(u"in.txt"_s), "5\r\n17"));
    answerOpen(path(u"in.txt"_s));
    item(u"N5"_s).trigger();
    item(u"N51"_s).trigger();
    QCOMPARE(memo().Text(), u"5\n17\n"_s + ReferenceSpins(1, 5).join(u'\n'));

    answerSave(path(u"out.txt"_s));
    item(u"N6"_s).trigger();
    QVERIFY(!ReadRaw(path(u"out.txt"_s)).endsWith('\n'));
}

void TestCommands::anyBytesLoad_data()
{
    QTest::addColumn<QByteArray>("file");

    QByteArray every;
    for (int i = 0; i < 256; ++i)
        every.append(char(i));
    QTest::newRow("every byte") << every;
    QTest::newRow("NUL bytes") << QByteArray("5\0\0"
                                             "17\r\n\0",
                                             8);
    QByteArray binary;
    quint32 state = 7;
    for (int i = 0; i < 300000; ++i) {
        state = state * 1664525u + 1013904223u;
        binary.append(char(state >> 24));
    }
    QTest::newRow("binary") << binary;
    QTest::newRow("one line of 2 MB") << QByteArray(2 * 1024 * 1024, '7');
}

void TestCommands::anyBytesLoad()
{
    QFETCH(QByteArray, file);

    form->show();
    QVERIFY(WriteRaw(path(u"in.bin"_s), file));
    answerOpen(path(u"in.bin"_s));
    item(u"N5"_s).trigger();
    QApplication::processEvents();
    QVERIFY(env->boxes.isEmpty());
    const QString text = memo().Text();
    QVERIFY(!text.isEmpty());
    QVERIFY(!text.contains(u'\r'));
    QCOMPARE(form->edit13->text(), QString::number(CountLines(text)));

    // Saved back, every byte but the line breaks is what was read.
    answerSave(path(u"out.bin"_s));
    item(u"N6"_s).trigger();
    QByteArray expected = file;
    expected.replace("\r\n", "\n").replace('\r', '\n').replace("\n", "\r\n");
    QCOMPARE(ReadRaw(path(u"out.bin"_s)), expected);
}

void TestCommands::saveReplacesWithoutAQuestion()
{
    // An empty history saved over a file leaves a file of zero bytes.
    QVERIFY(WriteRaw(path(u"spins.txt"_s), "1\r\n2\r\n3\r\n4\r\n5\r\n"));
    answerSave(path(u"spins.txt"_s));
    item(u"N6"_s).trigger();
    QCOMPARE(QFileInfo(path(u"spins.txt"_s)).size(), 0);
    QVERIFY(env->boxes.isEmpty());
    QCOMPARE(env->saveRequests.size(), 1);
    QVERIFY(!env->saveRequests[0].promptOverwrite);
    QVERIFY(!env->saveRequests[0].mustExist);
    // Nothing else is left in the folder, no temporary file either.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"spins.txt"_s});
}

void TestCommands::dialogsKeepTheirOwnChoice()
{
    const QStringList filters{u"Текстовые файлы (*.txt)"_s, u"Все файлы (*.*)"_s};
    QVERIFY(WriteRaw(path(u"a.txt"_s), "1\r\n"));

    env->openAnswers.push_back(FileChoice{path(u"a.txt"_s), filters[1]});
    item(u"N5"_s).trigger();
    item(u"N5"_s).trigger(); // cancelled: changes nothing
    answerSave(path(u"b.txt"_s));
    item(u"N6"_s).trigger();
    item(u"N6"_s).trigger(); // cancelled
    item(u"N5"_s).trigger();

    QCOMPARE(env->openRequests.size(), 3);
    QCOMPARE(env->saveRequests.size(), 2);
    const FileDialogOptions &firstOpen = env->openRequests[0];
    QCOMPARE(firstOpen.filters, filters);
    QVERIFY(firstOpen.selectedFilter.isEmpty() || firstOpen.selectedFilter == filters[0]);
    QCOMPARE(firstOpen.defaultSuffix, u"txt"_s);
    QVERIFY(firstOpen.mustExist);
    QVERIFY(firstOpen.initialFileName.isEmpty());
    for (int i : {1, 2}) {
        QCOMPARE(env->openRequests[i].initialFileName, path(u"a.txt"_s));
        QCOMPARE(env->openRequests[i].selectedFilter, filters[1]);
    }
    // The save dialog does not share the open dialog's choice.
    const FileDialogOptions &firstSave = env->saveRequests[0];
    QCOMPARE(firstSave.filters, filters);
    QCOMPARE(firstSave.defaultSuffix, u"txt"_s);
    QVERIFY(firstSave.initialFileName.isEmpty());
    QCOMPARE(env->saveRequests[1].initialFileName, path(u"b.txt"_s));
    QCOMPARE(env->saveRequests[1].selectedFilter, filters[0]);
}

void TestCommands::loadErrors_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");

    // The box shows the file functions' message with a full stop added.
    const auto cannotOpen = [this](const char *tag, const QString &name, int error) {
        QTest::newRow(tag) << name << CannotOpenMessage(path(name), error) + u'.';
    };
    cannotOpen("missing", u"missing.txt"_s, ENOENT);
    cannotOpen("a folder", u"folder"_s, EISDIR);
    cannotOpen("below a file", u"plain.txt/spins.txt"_s, ENOTDIR);
    QTest::newRow("over 64 MiB") << u"huge.txt"_s << u"Text exceeds memo capacity."_s;
}

void TestCommands::loadErrors()
{
    QFETCH(QString, name);
    QFETCH(QString, message);

    QVERIFY(MakeFailingPaths(dir.path()));
    QVERIFY(MakeSparseFile(path(u"huge.txt"_s), qint64(64) * 1024 * 1024 + 1));

    memo().ReplaceText(u"5\n17"_s);
    countPassesByErrorBoxes();
    QSignalSpy changed(&memo(), &QPlainTextEdit::textChanged);
    answerOpen(path(name));
    item(u"N5"_s).trigger();

    // One error box, and no statistics pass after it.
    QCOMPARE(env->onlyBox(), FakeEnvironment::ErrorBox(message));
    QCOMPARE(memo().Text(), u"5\n17"_s);
    QCOMPARE(changed.size(), 0);
}

void TestCommands::saveErrors_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("error");

    QTest::newRow("a folder") << u"folder"_s << EISDIR;
    QTest::newRow("below a file") << u"plain.txt/spins.txt"_s << ENOTDIR;
    QTest::newRow("missing folder") << u"nowhere/spins.txt"_s << ENOENT;
}

void TestCommands::saveErrors()
{
    QFETCH(QString, name);
    QFETCH(int, error);

    QVERIFY(MakeFailingPaths(dir.path()));
    memo().ReplaceText(u"5\n17\n"_s);
    answerSave(path(name));
    item(u"N6"_s).trigger();

    QCOMPARE(env->onlyBox(),
             FakeEnvironment::ErrorBox(CannotCreateMessage(path(name), error) + u'.'));
    QCOMPARE(memo().Text(), u"5\n17\n"_s);
    QCOMPARE(ReadRaw(path(u"plain.txt"_s)), QByteArray("1\r\n"));
    QVERIFY(QDir(path(u"folder"_s)).isEmpty());
}

void TestCommands::failedWriteKeepsTheOldFile()
{
    const QByteArray old("1\r\n2\r\n3\r\n");
    QVERIFY(WriteRaw(path(u"spins.txt"_s), old));
    memo().ReplaceText(Numbers(1000));

    // No file of this process may grow past 100 bytes, as on a full disk.
    answerSave(path(u"spins.txt"_s));
    QVERIFY(WithFileSizeLimit(100, [this] { item(u"N6"_s).trigger(); }));

    QCOMPARE(env->boxes.size(), 1);
    QCOMPARE(env->boxes[0].text, u"Stream write error."_s);
    QCOMPARE(ReadRaw(path(u"spins.txt"_s)), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"spins.txt"_s});
    QCOMPARE(memo().Text(), Numbers(1000));
}

// --------------------------------------------------------------------- exit

void TestCommands::closeAsksAboutAChangedHistory_data()
{
    // Steps before closing: "type:<line>" types a line at the end, "erase:<n>"
    // deletes n characters there, "load" loads "5\r\n17\r\n", "save" saves to
    // saved.txt, "clear" and "generate" run those commands.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("way");    // close box, "N9" or "Ctrl+Q"
    QTest::addColumn<int>("answer");     // -1: no question expected
    QTest::addColumn<QString>("saveTo"); // the file chosen after Да; empty: cancelled
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QByteArray>("saved"); // what the closing wrote to out.txt
    QTest::addColumn<int>("errors");

    const QByteArray none("<unreadable>"); // no file
    const int yes = int(Answer::Yes), no = int(Answer::No), cancel = int(Answer::Cancel);
    const QStringList typed{u"type:5"_s};
    QTest::newRow("nothing typed")
        << QStringList() << u"box"_s << -1 << QString() << true << none << 0;
    QTest::newRow("typed, Нет") << typed << u"box"_s << no << QString() << true << none << 0;
    QTest::newRow("typed, Отмена") << typed << u"N9"_s << cancel << QString() << false << none << 0;
    QTest::newRow("typed, Да, saved")
        << typed << u"Ctrl+Q"_s << yes << u"out.txt"_s << true << QByteArray("5\r\n") << 0;
    QTest::newRow("typed, Да, dialog cancelled")
        << typed << u"box"_s << yes << QString() << false << none << 0;
    QTest::newRow("typed, Да, write fails")
        << typed << u"N9"_s << yes << u"folder"_s << false << none << 1;
    QTest::newRow("loaded") << QStringList{u"load"_s} << u"box"_s << -1 << QString() << true << none
                            << 0;
    QTest::newRow("loaded, then generated") << QStringList{u"load"_s, u"generate"_s} << u"box"_s
                                            << cancel << QString() << false << none << 0;
    QTest::newRow("typed, then saved") << QStringList{u"type:5"_s, u"save"_s} << u"Ctrl+Q"_s << -1
                                       << QString() << true << none << 0;
    QTest::newRow("saved, then typed") << QStringList{u"save"_s, u"type:5"_s} << u"Ctrl+Q"_s << no
                                       << QString() << true << none << 0;
    QTest::newRow("typed, then cleared")
        << QStringList{u"type:5"_s, u"clear"_s} << u"N9"_s << -1 << QString() << true << none << 0;
    // The text decides, not the edits: typed and erased again, or a loaded
    // line deleted and typed anew, is the text as it was.
    QTest::newRow("typed, then erased") << QStringList{u"type:17"_s, u"erase:3"_s} << u"box"_s << -1
                                        << QString() << true << none << 0;
    QTest::newRow("loaded, a line retyped") << QStringList{u"load"_s, u"erase:3"_s, u"type:17"_s}
                                            << u"box"_s << -1 << QString() << true << none << 0;
    QTest::newRow("loaded, a line changed") << QStringList{u"load"_s, u"erase:3"_s, u"type:18"_s}
                                            << u"box"_s << no << QString() << true << none << 0;
}

void TestCommands::closeAsksAboutAChangedHistory()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, way);
    QFETCH(int, answer);
    QFETCH(QString, saveTo);
    QFETCH(bool, closed);
    QFETCH(QByteArray, saved);
    QFETCH(int, errors);

    QVERIFY(MakeFailingPaths(dir.path()));
    QVERIFY(WriteRaw(path(u"spins.txt"_s), "5\r\n17\r\n"));
    // Without a message loop a closed last window must not end anything.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    form->show();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    for (const QString &step : steps) {
        memo().moveCursor(QTextCursor::End);
        if (step.startsWith(u"type:")) {
            QTest::keyClicks(&memo(), step.mid(5));
            QTest::keyClick(&memo(), Qt::Key_Return);
        } else if (step.startsWith(u"erase:")) {
            for (int i = step.mid(6).toInt(); i > 0; --i)
                QTest::keyClick(&memo(), Qt::Key_Backspace);
        } else if (step == u"load") {
            answerOpen(path(u"spins.txt"_s));
            item(u"N5"_s).trigger();
        } else if (step == u"save") {
            answerSave(path(u"saved.txt"_s));
            item(u"N6"_s).trigger();
        } else {
            item(step == u"clear" ? u"N16"_s : u"N52"_s).trigger();
        }
    }
    QVERIFY(env->boxes.isEmpty());
    if (answer >= 0)
        env->answers.push_back(Answer(answer));
    if (!saveTo.isEmpty())
        answerSave(path(saveTo));
    const qsizetype saveRequests = env->saveRequests.size();

    if (way == u"N9")
        item(u"N9"_s).trigger();
    else if (way == u"Ctrl+Q")
        QTest::keySequence(form.get(), QKeySequence(u"Ctrl+Q"_s));
    else
        form->close();
    QGuiApplication::setQuitOnLastWindowClosed(true);

    QCOMPARE(env->questions.size(), answer >= 0 ? 1 : 0);
    if (answer >= 0) {
        QCOMPARE(env->questions[0].caption, u"Trevolo"_s);
        QCOMPARE(env->questions[0].text, u"Сохранить последовательность?"_s);
    }
    // Да shows the save dialog; Нет and Отмена do not.
    QCOMPARE(env->saveRequests.size() - saveRequests, answer == int(Answer::Yes) ? 1 : 0);
    QCOMPARE(form->isVisible(), !closed);
    QCOMPARE(ReadRaw(path(u"out.txt"_s)), saved);
    QCOMPARE(env->boxes.size(), errors);
}

void TestCommands::exitClosesTheWindow()
{
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    memo().ReplaceText(u"5\n"_s);
    QSignalSpy lastWindowClosed(qApp, &QGuiApplication::lastWindowClosed);

    // As in the program: "Выход" is chosen while the message loop runs, and
    // closing the main window ends the loop with exit code 0.
    env->answers = {Answer::No};
    QTimer::singleShot(0, &item(u"N9"_s), &QAction::trigger);
    QTimer failsafe;
    failsafe.setSingleShot(true);
    connect(&failsafe, &QTimer::timeout, qApp, [] { QCoreApplication::exit(99); });
    failsafe.start(10000);
    const int exitCode = QApplication::exec();
    failsafe.stop();

    QCOMPARE(exitCode, 0);
    QVERIFY(!form->isVisible());
    QCOMPARE(lastWindowClosed.size(), 1);
    // The typed history is answered Нет: nothing is saved.
    QCOMPARE(env->questions.size(), 1);
    QVERIFY(env->boxes.isEmpty());
    QVERIFY(env->saveRequests.isEmpty());
}

void TestCommands::quitAsksAndCanBeRefused()
{
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    memo().ReplaceText(u"5\n"_s);
    env->answers = {Answer::Cancel, Answer::No};

    // The application's own quit, as when the desktop session ends: the
    // first is refused with Отмена and the loop runs on; the second, answered
    // Нет, ends it.
    QTimer::singleShot(0, qApp, [] {
        QCoreApplication::quit();
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    });
    QTimer failsafe;
    failsafe.setSingleShot(true);
    connect(&failsafe, &QTimer::timeout, qApp, [] { QCoreApplication::exit(99); });
    failsafe.start(10000);
    const int exitCode = QApplication::exec();
    failsafe.stop();

    QCOMPARE(env->questions.size(), 2);
    QCOMPARE(exitCode, 0);
    QVERIFY(!form->isVisible());
}

// --------------------------------------------------------------- calculator

void TestCommands::calculator_data()
{
    QTest::addColumn<QString>("m");
    QTest::addColumn<QString>("r");
    QTest::addColumn<bool>("lastChangeInEdit3");
    QTest::addColumn<QStringList>("fields"); // Edit4..Edit11, Edit12
    QTest::addColumn<bool>("message");

    const QStringList initial{u"5"_s,    u"15"_s,   u"45"_s,    u"135"_s,  u"405"_s,
                              u"1215"_s, u"3645"_s, u"10935"_s, u"16400"_s};
    // The initial fields with the first n replaced.
    const auto keep = [&initial](QStringList first) {
        for (qsizetype i = first.size(); i < initial.size(); ++i)
            first.append(initial[i]);
        return first;
    };

    QTest::newRow("defaults") << u"5"_s << u"3"_s << false << initial << false;
    QTest::newRow("10 by 2") << u"10"_s << u"2"_s << true
                             << QStringList{u"10"_s,  u"20"_s,  u"40"_s,   u"80"_s,  u"160"_s,
                                            u"320"_s, u"640"_s, u"1280"_s, u"2550"_s}
                             << false;
    QTest::newRow("negative") << u"-5"_s << u"3"_s << false
                              << QStringList{u"-5"_s,    u"-15"_s,    u"-45"_s,
                                             u"-135"_s,  u"-405"_s,   u"-1215"_s,
                                             u"-3645"_s, u"-10935"_s, u"-16400"_s}
                              << false;
    QTest::newRow("r = 0") << u"7"_s << u"0"_s << true
                           << QStringList{u"7"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s,
                                          u"0"_s, u"0"_s, u"0"_s, u"7"_s}
                           << false;
    QTest::newRow("r = 1") << u"7"_s << u"1"_s << true
                           << QStringList{u"7"_s, u"7"_s, u"7"_s, u"7"_s, u"7"_s,
                                          u"7"_s, u"7"_s, u"7"_s, u"56"_s}
                           << false;
    QTest::newRow("r = -2") << u"1"_s << u"-2"_s << true
                            << QStringList{u"1"_s,   u"-2"_s, u"4"_s,    u"-8"_s, u"16"_s,
                                           u"-32"_s, u"64"_s, u"-128"_s, u"-85"_s}
                            << false;
    QTest::newRow("r = $FFFFFFFF")
        << u"5"_s << u"$FFFFFFFF"_s << true
        << QStringList{u"5"_s, u"-5"_s, u"5"_s, u"-5"_s, u"5"_s, u"-5"_s, u"5"_s, u"-5"_s, u"0"_s}
        << false;
    QTest::newRow("leading blank kept")
        << u" 7"_s << u"3"_s << false
        << QStringList{u" 7"_s,   u"21"_s,   u"63"_s,    u"189"_s,  u"567"_s,
                       u"1701"_s, u"5103"_s, u"15309"_s, u"22960"_s}
        << false;
    QTest::newRow("hex kept") << u"$A"_s << u"2"_s << false
                              << QStringList{u"$A"_s,  u"20"_s,  u"40"_s,   u"80"_s,  u"160"_s,
                                             u"320"_s, u"640"_s, u"1280"_s, u"2550"_s}
                              << false;
    QTest::newRow("sign and zero kept") << u"+05"_s << u"3"_s << false << keep({u"+05"_s}) << false;
    QTest::newRow("Edit2 emptied") << QString() << u"3"_s << false << keep({QString()}) << true;
    QTest::newRow("Edit3 emptied") << u"7"_s << QString() << true << keep({u"7"_s}) << true;
    QTest::newRow("Edit2 abc") << u"abc"_s << u"3"_s << false << keep({u"abc"_s}) << true;
    QTest::newRow("trailing blank") << u"5 "_s << u"3"_s << false << keep({u"5 "_s}) << true;
    QTest::newRow("unfinished -") << u"-"_s << u"3"_s << false << keep({u"-"_s}) << true;
    QTest::newRow("Edit2 past the range")
        << u"2147483648"_s << u"3"_s << false << keep({u"2147483648"_s}) << true;
    QTest::newRow("Edit3 past the range")
        << u"5"_s << u"2147483648"_s << true << keep({u"5"_s}) << true;
    // A product that leaves the 32-bit range is a failed step: 100 * 20^6.
    QTest::newRow("overflow at stake 7")
        << u"100"_s << u"20"_s << true
        << keep({u"100"_s, u"2000"_s, u"40000"_s, u"800000"_s, u"16000000"_s, u"320000000"_s})
        << true;
    QTest::newRow("negative overflow at stake 7")
        << u"-100"_s << u"20"_s << true
        << keep({u"-100"_s, u"-2000"_s, u"-40000"_s, u"-800000"_s, u"-16000000"_s, u"-320000000"_s})
        << true;
    QTest::newRow("overflow at stake 2")
        << u"-2147483648"_s << u"-1"_s << true << keep({u"-2147483648"_s}) << true;
    QTest::newRow("largest product")
        << u"-1073741824"_s << u"2"_s << true << keep({u"-1073741824"_s, u"-2147483648"_s})
        << true; // stake 3 overflows
    // Every stake fits, their sum does not.
    QTest::newRow("sum overflow") << u"300000000"_s << u"1"_s << true
                                  << keep(QStringList(8, u"300000000"_s)) << true;
    QTest::newRow("largest sum") << u"268435455"_s << u"1"_s << true
                                 << QStringList(8, u"268435455"_s) + QStringList{u"2147483640"_s}
                                 << false;
}

void TestCommands::calculator()
{
    QFETCH(QString, m);
    QFETCH(QString, r);
    QFETCH(bool, lastChangeInEdit3);
    QFETCH(QStringList, fields);
    QFETCH(bool, message);

    // Set the other input quietly, then change the last one: one recalculation.
    QLineEdit *last = lastChangeInEdit3 ? form->edit3 : form->edit2;
    QLineEdit *other = lastChangeInEdit3 ? form->edit2 : form->edit3;
    {
        const QSignalBlocker blockOther(other);
        const QSignalBlocker blockLast(last);
        other->setText(lastChangeInEdit3 ? m : r);
        last->setText(u"#"_s);
    }
    last->setText(lastChangeInEdit3 ? r : m);

    QCOMPARE(calculatorFields(), fields);
    if (message) {
        QCOMPARE(env->onlyBox(), FakeEnvironment::MessageBox(CalculatorMessage));
    } else {
        QVERIFY(env->boxes.isEmpty());
    }
    QCOMPARE(form->edit2->text(), m);
    QCOMPARE(form->edit3->text(), r);
}

void TestCommands::calculatorFollowsTyping()
{
    // Building the window ran no recalculation.
    QVERIFY(env->boxes.isEmpty());

    form->edit2->selectAll();
    QTest::keyClick(form->edit2, Qt::Key_Backspace); // "" : the message at once
    QCOMPARE(env->boxes.size(), 1);
    QCOMPARE(form->edit4->text(), QString());
    QCOMPARE(form->edit5->text(), u"15"_s);
    QTest::keyClicks(form->edit2, u"10"_s);
    QCOMPARE(calculatorFields().first(), u"10"_s);
    QCOMPARE(calculatorFields().last(), u"32800"_s);

    form->edit3->selectAll();
    QTest::keyClick(form->edit3, Qt::Key_2);
    QCOMPARE(calculatorFields(), (QStringList{u"10"_s, u"20"_s, u"40"_s, u"80"_s, u"160"_s,
                                              u"320"_s, u"640"_s, u"1280"_s, u"2550"_s}));
    QCOMPARE(env->boxes.size(), 1);
}

// -------------------------------------------------------------------- links

void TestCommands::links_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QByteArray>("address");

    QTest::newRow("help") << u"N20"_s << QByteArray("http://trevolo.example/?page_id=3");
    QTest::newRow("systems") << u"N23"_s << QByteArray("http://trevolo.example/?page_id=5");
    QTest::newRow("new version") << u"N15"_s << QByteArray("http://trevolo.example/?page_id=2");
    QTest::newRow("mail") << u"N8"_s
                          << QByteArray("mailto:support@trevolo.example?subject="
                                        "%22%D0%9F%D0%BE%D0%B6%D0%B5%D0%BB%D0%B0%D0%BD%D0%B8%D1%8F"
                                        "%20%D0%BF%D0%BE%20%D1%80%D0%B0%D0%B1%D0%BE%D1%82%D0%B5"
                                        "%20%D0%BF%D1%80%D0%BE%D0%B3%D1%80%D0%B0%D0%BC%D0%BC%D1%8B"
                                        "%20Trevolo%22");
    QTest::newRow("partner") << u"N25"_s
                             << QByteArray("http://lunnyi-kit.example/register?tracker=40713");
}

void TestCommands::links()
{
    QFETCH(QString, item);
    QFETCH(QByteArray, address);

    memo().ReplaceText(u"5\n"_s);
    const QString status = form->statusBar1->SimpleText();
    const QStringList calculator = calculatorFields();

    this->item(item).trigger();

    QCOMPARE(env->openedUrls.size(), 1);
    const QUrl url = env->openedUrls[0];
    QVERIFY(url.isValid());
    QCOMPARE(url.toEncoded(), address);
    if (url.scheme() == u"mailto") {
        QCOMPARE(url.path(), u"support@trevolo.example"_s);
        QCOMPARE(QUrlQuery(url).queryItemValue(u"subject"_s, QUrl::FullyDecoded),
                 u"\"Пожелания по работе программы Trevolo\""_s);
    }
    // Nothing else happens.
    QVERIFY(env->boxes.isEmpty());
    QVERIFY(env->openRequests.isEmpty() && env->saveRequests.isEmpty());
    QCOMPARE(memo().Text(), u"5\n"_s);
    QCOMPARE(form->statusBar1->SimpleText(), status);
    QCOMPARE(calculatorFields(), calculator);
}

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
