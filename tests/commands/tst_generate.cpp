#include "CommandsTest.h"

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
    // One command, one step for Undo.
    QTest::keyClick(&memo(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(memo().Text(), before);
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
