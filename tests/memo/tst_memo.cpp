// The history memo's statistics model against the full pass, through real
// edits of a real memo.
#include "analysis/Statistics.h"
#include "app/memo/HistoryMemo.h"

#include <QApplication>
#include <QClipboard>
#include <QRandomGenerator>
#include <QSignalBlocker>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

using namespace trevolo;
using namespace Qt::StringLiterals;

namespace {

// Every figure of a pass in one line, so a difference shows where it lies.
QString Describe(const HistoryStatistics &s)
{
    QStringList parts;
    const auto join = [](const auto &values) {
        QStringList list;
        for (const auto v : values)
            list << QString::number(v);
        return list.join(u',');
    };
    parts << QStringLiteral("lines %1 spins %2").arg(s.lineCount).arg(s.spinCount)
          << join(s.missRuns) << join(s.absence) << join(s.occurrence) << join(s.nearest)
          << join(s.alarm) << s.statusText;
    return parts.join(u" | ");
}

QString ModelPass(THistoryMemo &memo)
{
    return Describe(memo.Spins().Statistics(u"4"));
}

QString ReferencePass(const THistoryMemo &memo)
{
    return Describe(ComputeStatistics(memo.Text(), u"4"));
}

// Lines of the kinds a history meets: spins, numbers outside the wheel,
// blanks, signs, hex, words, empty lines.
QString RandomLine(QRandomGenerator &random)
{
    static const char16_t *const odd[] = {u"",   u" 7", u"+3",  u"-0",  u"37",      u"0x1F",
                                          u"$A", u"05", u"abc", u"1 2", u"\u00a05", u"36 "};
    if (random.bounded(4) == 0)
        return QString::fromUtf16(odd[random.bounded(int(std::size(odd)))]);
    return QString::number(random.bounded(37));
}

QString RandomText(QRandomGenerator &random, int lines)
{
    static const char16_t *const breaks[] = {u"\n", u"\n", u"\n", u"\r\n", u"\r", u"\u2028"};
    QString text;
    for (int i = 0; i < lines; ++i) {
        if (i > 0)
            text += QString::fromUtf16(breaks[random.bounded(int(std::size(breaks)))]);
        text += RandomLine(random);
    }
    return text;
}

void PlaceCursor(THistoryMemo &memo, int anchor, int position)
{
    QTextCursor cursor(memo.document());
    cursor.setPosition(anchor);
    cursor.setPosition(position, QTextCursor::KeepAnchor);
    memo.setTextCursor(cursor);
}

} // namespace

class TestMemo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void randomEditsMatchTheFullPass();
    void softLineBreaks_data();
    void softLineBreaks();
    void missedChangeIsReadAgainOnce();
    void foldedLinesReadExactly_data();
    void foldedLinesReadExactly();
};

void TestMemo::randomEditsMatchTheFullPass()
{
    THistoryMemo memo;
    memo.resize(120, 300);
    memo.show();
    QRandomGenerator random(20240611);
    memo.ReplaceText(RandomText(random, 3000));

    constexpr int Edits = 2400;
    for (int edit = 0; edit < Edits; ++edit) {
        const int length = memo.document()->characterCount() - 1;
        const int at = int(random.bounded(length + 1));
        const int kind = int(random.bounded(100));
        QString what;
        if (kind < 35) {
            what = QStringLiteral("type");
            PlaceCursor(memo, at, at);
            static const char keys[] = "0123456789012345 x+-";
            QTest::keyClick(&memo, keys[random.bounded(int(sizeof keys - 1))]);
        } else if (kind < 45) {
            what = QStringLiteral("backspace at a line start");
            const QTextBlock block = memo.document()->findBlock(at);
            PlaceCursor(memo, block.position(), block.position());
            QTest::keyClick(&memo, Qt::Key_Backspace);
        } else if (kind < 50) {
            what = QStringLiteral("delete");
            PlaceCursor(memo, at, at);
            QTest::keyClick(&memo, Qt::Key_Delete);
        } else if (kind < 57) {
            what = QStringLiteral("enter");
            PlaceCursor(memo, at, at);
            QTest::keyClick(&memo, Qt::Key_Return);
        } else if (kind < 61) {
            what = QStringLiteral("shift+enter");
            PlaceCursor(memo, at, at);
            QTest::keyClick(&memo, Qt::Key_Return, Qt::ShiftModifier);
        } else if (kind < 68) {
            what = QStringLiteral("paste");
            QApplication::clipboard()->setText(RandomText(random, int(random.bounded(1, 400))));
            PlaceCursor(memo, at, at);
            QTest::keyClick(&memo, Qt::Key_V, Qt::ControlModifier);
        } else if (kind < 74) {
            what = QStringLiteral("delete a selection");
            PlaceCursor(memo, at, qMin(length, at + int(random.bounded(200))));
            QTest::keyClick(&memo, Qt::Key_Delete);
        } else if (kind < 76) {
            what = QStringLiteral("delete most");
            PlaceCursor(memo, length / 20, length - length / 20);
            QTest::keyClick(&memo, Qt::Key_Backspace);
        } else if (kind < 77) {
            what = QStringLiteral("select all, delete");
            QTest::keyClick(&memo, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(&memo, Qt::Key_Delete);
        } else if (kind < 86) {
            what = QStringLiteral("undo");
            QTest::keyClick(&memo, Qt::Key_Z, Qt::ControlModifier);
        } else if (kind < 91) {
            what = QStringLiteral("redo");
            QTest::keyClick(&memo, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        } else if (kind < 96) {
            what = QStringLiteral("append");
            memo.AppendLine(RandomLine(random));
        } else if (kind < 99) {
            what = QStringLiteral("load");
            memo.ReplaceText(RandomText(random, int(random.bounded(12000))));
        } else {
            what = QStringLiteral("clear");
            memo.ClearSilently();
        }
        const QString model = ModelPass(memo);
        const QString reference = ReferencePass(memo);
        if (model != reference)
            qWarning("edit %d (%s)", edit, qPrintable(what));
        QCOMPARE(model, reference);
    }
    // Every change was reported, so nothing was ever read whole again.
    QCOMPARE(memo.SpinFeed().Rebuilds(), 0);
}

void TestMemo::softLineBreaks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("block");
    QTest::addColumn<QString>("typed");

    // Shift+Enter typed into a line splits it into two lines of one block.
    QTest::newRow("split a spin") << QStringLiteral("1\n23\n4") << 1 << QStringLiteral("\u2028");
    QTest::newRow("break at a block end")
        << QStringLiteral("5\n6") << 0 << QStringLiteral("\u2028");
    QTest::newRow("three lines in one block")
        << QStringLiteral("7\n8") << 1 << QStringLiteral("\u20289\u2028");
    QTest::newRow("last block ends with a soft break")
        << QStringLiteral("1\n2") << 1 << QStringLiteral("\u2028");
}

void TestMemo::softLineBreaks()
{
    QFETCH(QString, text);
    QFETCH(int, block);
    QFETCH(QString, typed);

    THistoryMemo memo;
    memo.ReplaceText(text);
    QTextCursor cursor(memo.document()->findBlockByNumber(block));
    cursor.movePosition(QTextCursor::EndOfBlock);
    cursor.insertText(typed);
    QVERIFY(memo.Text().size() == text.size() + typed.size());
    QCOMPARE(ModelPass(memo), ReferencePass(memo));
    // Taking out the line that follows the soft lines moves them back.
    QTextCursor next(memo.document()->findBlockByNumber(block));
    next.movePosition(QTextCursor::EndOfBlock);
    next.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
    next.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    next.removeSelectedText();
    QCOMPARE(ModelPass(memo), ReferencePass(memo));
    QCOMPARE(memo.SpinFeed().Rebuilds(), 0);
}

void TestMemo::missedChangeIsReadAgainOnce()
{
    THistoryMemo memo;
    memo.ReplaceText(QStringLiteral("1\n2\n3\n"));
    const QString before = ModelPass(memo);
    {
        // A change nobody hears of.
        const QSignalBlocker blocker(memo.document());
        QTextCursor cursor(memo.document());
        cursor.insertText(QStringLiteral("9\n9\n"));
    }
    QCOMPARE(memo.SpinFeed().Rebuilds(), 0);
    QCOMPARE_NE(ReferencePass(memo), before);
    QCOMPARE(ModelPass(memo), ReferencePass(memo));
    QCOMPARE(memo.SpinFeed().Rebuilds(), 1);
    // Back in step: the next changes are followed edit by edit again.
    memo.AppendLine(QStringLiteral("4"));
    QCOMPARE(ModelPass(memo), ReferencePass(memo));
    QCOMPARE(memo.SpinFeed().Rebuilds(), 1);

    // A missed change that keeps the block count is noticed by the length.
    {
        const QSignalBlocker blocker(memo.document());
        QTextCursor cursor(memo.document());
        cursor.insertText(QStringLiteral("3"));
    }
    QCOMPARE(ModelPass(memo), ReferencePass(memo));
    QCOMPARE(memo.SpinFeed().Rebuilds(), 2);
}

void TestMemo::foldedLinesReadExactly_data()
{
    // A line too long to lay out, and what is typed before and after it in
    // its block. Whether the line is a spin comes from the full text.
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    const QString blanks(70000, u' ');
    const QString zeros(70000, u'0');
    QTest::newRow("digits, one typed after") << QString(70000, u'5') << QString() << u"7"_s;
    QTest::newRow("blanks, then a spin") << blanks + u"7"_s << QString() << QString();
    QTest::newRow("blanks, a sign typed before") << blanks + u"7"_s << u"-"_s << QString();
    QTest::newRow("zeros, a digit typed after") << zeros << QString() << u"3"_s;
    QTest::newRow("blanks, the digits typed before") << blanks << u"  1"_s << QString();
    QTest::newRow("zeros, a base mark typed before") << zeros + u"1F"_s << u"$"_s << QString();
    QTest::newRow("a one and zeros") << u"1"_s + zeros << QString() << QString();
    QTest::newRow("thirteen marks") << blanks + u"1234567890123"_s << QString() << QString();
    QTest::newRow("twelve marks, a soft break after")
        << u"-0x"_s + zeros + u"123456789"_s << QString() << u"\u20285"_s;
}

void TestMemo::foldedLinesReadExactly()
{
    QFETCH(QString, line);
    QFETCH(QString, before);
    QFETCH(QString, after);

    THistoryMemo memo;
    memo.ReplaceText(u"5\n"_s + line + u"\n8"_s);
    QCOMPARE(memo.document()->findBlockByNumber(1).text(),
             QString(QChar::ObjectReplacementCharacter));
    QTextCursor cursor(memo.document()->findBlockByNumber(1));
    cursor.insertText(before);
    cursor.movePosition(QTextCursor::EndOfBlock);
    cursor.insertText(after);
    // Typed and taken back, so the block is read again in any case.
    cursor.insertText(u"x"_s);
    cursor.deletePreviousChar();
    QCOMPARE(memo.Text(),
             u"5\n"_s + before + line + QString(after).replace(u'\u2028', u'\n') + u"\n8"_s);
    QCOMPARE(ModelPass(memo), ReferencePass(memo));
    QCOMPARE(memo.SpinFeed().Rebuilds(), 0);
}

QTEST_MAIN(TestMemo)
#include "tst_memo.moc"
