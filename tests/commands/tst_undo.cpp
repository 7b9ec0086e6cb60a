#include "CommandsTest.h"

// ---------------------------------------------------- undoing clear and load

void TestCommands::clearAndLoadAreOneUndoStep_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QByteArray>("file"); // what a load reads
    QTest::addColumn<QString>("after");
    QTest::newRow("clear") << u"N16"_s << QByteArray() << QString();
    QTest::newRow("load") << u"N5"_s << QByteArray("1\r\n2\r\n") << u"1\n2\n"_s;
    QTest::newRow("long load") << u"N5"_s << HistoryToFileBytes(Numbers(30000)) << Numbers(30000);
}

// Ctrl+Z brings back the history the command replaced, with one pass, and
// it counts as unsaved again; Ctrl+Shift+Z repeats the command.
void TestCommands::clearAndLoadAreOneUndoStep()
{
    QFETCH(QString, item);
    QFETCH(QByteArray, file);
    QFETCH(QString, after);
    QVERIFY(WriteRaw(path(u"spins.txt"_s), file));
    form->show();
    memo().ReplaceText(u"5\n17\n"_s);
    memo().moveCursor(QTextCursor::End);
    QTest::keyClicks(&memo(), u"3"_s);
    const QString before = memo().Text();
    answerOpen(path(u"spins.txt"_s));
    this->item(item).trigger();
    QCOMPARE(memo().Text(), after);
    countPassesByErrorBoxes();

    for (int round = 0; round < 2; ++round) {
        QTest::keyClick(&memo(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(memo().Text(), before);
        QCOMPARE(takePasses(), 1);
        QTest::keyClick(&memo(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(memo().Text(), after);
        QCOMPARE(takePasses(), 1);
    }
    QTest::keyClick(&memo(), Qt::Key_Z, Qt::ControlModifier);
    env->answers = {Answer::Cancel};
    QVERIFY(!form->MayClose());
    // Further back, the typing before the command.
    QTest::keyClick(&memo(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(memo().Text(), u"5\n17\n"_s);
}
