// The history memo's statistics model, the depth beside it and its copy of
// the text against the full pass and the text itself, through real edits of
// a real memo.
#include "analysis/HistoryDepth.h"
#include "analysis/Statistics.h"
#include "app/memo/HistoryLoad.h"
#include "app/memo/HistoryMemo.h"
#include "history/HistoryText.h"
#include "support/FakeEnvironment.h"
#include "support/TestHistories.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QRandomGenerator>
#include <QSignalBlocker>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <functional>

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

// The gap figures of every number and group and the gap lengths of every
// group, in one line.
QString Describe(const DepthFigures &figures, const auto &histogramOf)
{
    QStringList parts{QString::number(figures.spins)};
    const auto add = [&parts](const GapFigures &g) {
        parts
            << QStringLiteral("%1/%2/%3/%4").arg(g.hits).arg(g.current).arg(g.longest).arg(g.mean);
    };
    std::for_each(figures.numbers.begin(), figures.numbers.end(), add);
    std::for_each(figures.groups.begin(), figures.groups.end(), add);
    for (int row = 0; row < GroupRowCount; ++row)
        for (const qint32 count : histogramOf(row))
            parts << QString::number(count);
    return parts.join(u',');
}

// The pass and the depth the memo keeps edit by edit ...
QString ModelPass(const SpinHistory &history)
{
    return Describe(history.Statistics(u"4")) + u'\n' +
           Describe(history.Figures(0),
                    [&history](int row) { return history.GroupGapHistogram(row, 0); });
}

// ... and both worked out afresh from the text.
QString ReferencePass(const THistoryMemo &memo)
{
    std::vector<quint8> spins;
    SpinHistoryModel::AppendCodes(memo.Text(), spins);
    std::erase_if(spins, [](quint8 code) { return code >= WheelSize; });
    return Describe(ComputeStatistics(memo.Text(), u"4")) + u'\n' +
           Describe(ComputeDepth(spins),
                    [&spins](int row) { return GapHistogram(spins, GroupMembers(row)); });
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

// Data that offers only what its owner hands over when asked, as data from
// another program does: `offered` lists its formats, `text` is what a
// request for text gets.
class ForeignData : public QMimeData
{
public:
    ForeignData(QStringList offered, QString text) : m_offered(offered), m_text(text) {}
    QStringList formats() const override { return m_offered; }
    bool hasFormat(const QString &format) const override { return m_offered.contains(format); }

protected:
    QVariant retrieveData(const QString &format, QMetaType) const override
    {
        return format == u"text/plain"_s ? QVariant(m_text) : QVariant();
    }

private:
    QStringList m_offered;
    QString m_text;
};

// A memo on a recording desktop, so that long texts go in beside the events.
struct MemoOnDesktop
{
    FakeEnvironment environment;
    SpinHistory history;
    THistoryMemo memo{history, nullptr, &environment};
    MemoOnDesktop()
    {
        memo.resize(120, 300);
        memo.show();
    }
    void type(const QString &keys)
    {
        for (const QChar key : keys)
            QTest::keyClick(&memo, key == u'\n' ? Qt::Key_Return : Qt::Key(key.unicode()));
    }
};

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
    void randomEditsMatchTheFullPass_data();
    void randomEditsMatchTheFullPass();
    void softLineBreaks_data();
    void softLineBreaks();
    void missedChangeIsReadAgainOnce();
    void everyChangeIsOneEdit_data();
    void everyChangeIsOneEdit();
    void foldedLinesReadExactly_data();
    void foldedLinesReadExactly();
    void anyPastedDataGivesTextOrNothing_data();
    void anyPastedDataGivesTextOrNothing();
    void redoAfterUndoingALongPaste_data();
    void redoAfterUndoingALongPaste();
    void setAsideDocumentsKeepToTheirBudget();
    void tripleClickSelectsALine_data();
    void tripleClickSelectsALine();
};

void TestMemo::randomEditsMatchTheFullPass_data()
{
    // With swaps, pastes of 40 lines and more, loads and clearings show
    // documents built beside the events, which Undo and Redo swap back; now
    // and then a pasted line is folded. All but their newest 50 lines share
    // blocks, so the edits meet shared blocks as often as own ones.
    QTest::addColumn<bool>("swaps");
    QTest::newRow("edits") << false;
    QTest::newRow("edits and swaps") << true;
}

void TestMemo::randomEditsMatchTheFullPass()
{
    QFETCH(bool, swaps);
    FakeEnvironment environment;
    SpinHistory history;
    THistoryMemo memo(history, nullptr, swaps ? &environment : nullptr);
    memo.SetLargeInsertBreaks(40);
    memo.SetOwnBlockLines(50);
    memo.resize(120, 300);
    memo.show();
    QRandomGenerator random(20240611);
    memo.ReplaceText(RandomText(random, 3000));

    const int edits = swaps ? 1200 : 2400;
    for (int edit = 0; edit < edits; ++edit) {
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
            QString pasted = RandomText(random, int(random.bounded(1, 400)));
            if (swaps && random.bounded(8) == 0)
                pasted.insert(pasted.size() / 2, QString(FoldedLineChars + 1, u'7'));
            QApplication::clipboard()->setText(pasted);
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
            const QString text = RandomText(random, int(random.bounded(12000)));
            if (swaps) {
                ReadHistory read{NormaliseLineBreaks(text), {}, 0};
                SpinHistoryModel::AppendCodes(read.text, read.codes);
                QVERIFY(memo.Load(read, random.bounded(2) == 0));
            } else {
                memo.ReplaceText(text);
            }
        } else {
            what = QStringLiteral("clear");
            if (swaps)
                memo.ClearUndoably();
            else
                memo.ClearSilently();
        }
        const QString model = ModelPass(history);
        const QString reference = ReferencePass(memo);
        const QString copy = memo.Snapshot();
        if (model != reference || copy != memo.Text())
            qWarning("edit %d (%s)", edit, qPrintable(what));
        QCOMPARE(model, reference);
        QCOMPARE(copy, memo.Text());
    }
    // Every change was reported, so nothing was ever read whole again.
    QCOMPARE(memo.HistoryRebuilds(), 0);
    QCOMPARE(memo.Mirror().Rereads(), 0);
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

    SpinHistory history;
    THistoryMemo memo(history);
    memo.ReplaceText(text);
    QTextCursor cursor(memo.document()->findBlockByNumber(block));
    cursor.movePosition(QTextCursor::EndOfBlock);
    cursor.insertText(typed);
    QVERIFY(memo.Text().size() == text.size() + typed.size());
    QCOMPARE(ModelPass(history), ReferencePass(memo));
    // Taking out the line that follows the soft lines moves them back.
    QTextCursor next(memo.document()->findBlockByNumber(block));
    next.movePosition(QTextCursor::EndOfBlock);
    next.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
    next.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    next.removeSelectedText();
    QCOMPARE(ModelPass(history), ReferencePass(memo));
    QCOMPARE(memo.HistoryRebuilds(), 0);
}

void TestMemo::missedChangeIsReadAgainOnce()
{
    SpinHistory history;
    THistoryMemo memo(history);
    memo.ReplaceText(QStringLiteral("1\n2\n3\n"));
    const QString before = ModelPass(history);
    {
        // A change nobody hears of.
        const QSignalBlocker blocker(memo.document());
        QTextCursor cursor(memo.document());
        cursor.insertText(QStringLiteral("9\n9\n"));
    }
    QCOMPARE(memo.HistoryRebuilds(), 0);
    QCOMPARE_NE(ReferencePass(memo), before);
    QCOMPARE(ModelPass(history), ReferencePass(memo));
    QCOMPARE(memo.HistoryRebuilds(), 1);
    // Back in step: the next changes are followed edit by edit again.
    memo.AppendLine(QStringLiteral("4"));
    QCOMPARE(ModelPass(history), ReferencePass(memo));
    QCOMPARE(memo.HistoryRebuilds(), 1);

    // A missed change that keeps the block count is noticed by the length.
    {
        const QSignalBlocker blocker(memo.document());
        QTextCursor cursor(memo.document());
        cursor.insertText(QStringLiteral("3"));
    }
    QCOMPARE(ModelPass(history), ReferencePass(memo));
    QCOMPARE(memo.HistoryRebuilds(), 2);
}

void TestMemo::everyChangeIsOneEdit_data()
{
    // What the change does to the memo, which holds "1\n2\n3" with the last
    // spin taken for the pad's Redo (for "Undo of a clearing": cleared).
    QTest::addColumn<int>("change");
    QTest::addColumn<bool>("whole"); // the history replaced whole
    const std::pair<const char *, bool> rows[] = {
        {"typed", false},      {"appended", false},         {"replaced", true},
        {"cleared", true},     {"undoable clearing", true}, {"Undo", false},
        {"pad's Undo", false}, {"pad's Redo", false},       {"Undo of a clearing", true}};
    for (int change = 0; change < int(std::size(rows)); ++change)
        QTest::newRow(rows[change].first) << change << rows[change].second;
}

void TestMemo::everyChangeIsOneEdit()
{
    QFETCH(int, change);
    QFETCH(bool, whole);
    SpinHistory history;
    THistoryMemo memo(history);
    memo.ReplaceText(u"7"_s);
    memo.ClearUndoably();
    memo.InsertAtEnd(u"1\n2\n3\n4"_s);
    memo.UndoLastSpin();
    if (change == 8)
        memo.ClearUndoably();
    QSignalSpy edits(&history, &SpinHistory::edited);
    QSignalSpy historyEdits(&memo, &THistoryMemo::historyEdited);
    const std::function<void()> changes[] = {
        [&] { QTest::keyClick(&memo, Qt::Key_5); },
        [&] { memo.AppendLine(u"5"_s); },
        [&] { memo.ReplaceText(u"5\n6"_s); },
        [&] { memo.ClearSilently(); },
        [&] { memo.ClearUndoably(); },
        [&] { memo.Undo(); },
        [&] { memo.UndoLastSpin(); },
        [&] { memo.RedoLastSpin(); },
        [&] { memo.Undo(); },
    };
    changes[change]();
    // One edit, and one historyEdited, whatever made the change.
    QCOMPARE(edits.size(), 1);
    QCOMPARE(historyEdits.size(), 1);
    QCOMPARE(edits[0][0].value<SpinEdit>().whole, whole);
    QCOMPARE(ModelPass(history), ReferencePass(memo));
    // Redo of the pad only after its own Undo.
    QCOMPARE(memo.CanRedoLastSpin(), change == 6);
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

    SpinHistory history;
    THistoryMemo memo(history);
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
    QCOMPARE(ModelPass(history), ReferencePass(memo));
    QCOMPARE(memo.HistoryRebuilds(), 0);
}

void TestMemo::anyPastedDataGivesTextOrNothing_data()
{
    QTest::addColumn<QStringList>("offered");
    QTest::addColumn<QString>("text"); // what a request for text gets
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("besideEvents");
    const QString longText = Numbers(20000);
    QTest::newRow("no text format, nothing to get")
        << QStringList{u"application/octet-stream"_s} << QString() << u"1\n"_s << false;
    QTest::newRow("no format at all") << QStringList() << QString() << u"1\n"_s << false;
    QTest::newRow("text only on request")
        << QStringList() << u"5\n17\u2713"_s << u"1\n5\n17?"_s << false;
    QTest::newRow("long text only on request")
        << QStringList{u"image/png"_s} << longText << u"1\n"_s + longText << true;
    QTest::newRow("text offered, none given")
        << QStringList{u"text/plain"_s} << QString() << u"1\n"_s << false;
}

// Whatever its formats, what is pasted gives its text or nothing, and the
// text goes in as any pasted text does.
void TestMemo::anyPastedDataGivesTextOrNothing()
{
    QFETCH(QStringList, offered);
    QFETCH(QString, text);
    QFETCH(QString, after);
    QFETCH(bool, besideEvents);
    MemoOnDesktop shown;
    shown.type(u"1\n"_s);
    QApplication::clipboard()->setMimeData(new ForeignData(offered, text));
    QTest::keyClick(&shown.memo, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(shown.memo.Text(), after);
    QCOMPARE(ModelPass(shown.history), ReferencePass(shown.memo));
    QCOMPARE(shown.environment.progress.contains(u"start Вставка текста..."_s), besideEvents);
}

void TestMemo::redoAfterUndoingALongPaste_data()
{
    // The newest 10,000 lines (the empty last one among them) keep a block
    // each; the older ones share, 16 to a block.
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<int>("blocks");
    QTest::newRow("a line to fold") << QString(70000, u'7') << 3;
    QTest::newRow("10,000 lines") << Numbers(10000) << 10001;
    QTest::newRow("30,000 lines") << Numbers(30000) << 10000 + 1251;
}

// Redo after Undo brings back the paste, not the step undone before it.
void TestMemo::redoAfterUndoingALongPaste()
{
    QFETCH(QString, pasted);
    QFETCH(int, blocks);
    MemoOnDesktop shown;
    shown.type(u"1\n2\n5"_s);
    QTest::keyClick(&shown.memo, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(shown.memo.Text(), u"1\n2\n"_s);
    QApplication::clipboard()->setText(pasted);
    QTest::keyClick(&shown.memo, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&shown.memo, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(shown.memo.Text(), u"1\n2\n"_s);
    QTest::keyClick(&shown.memo, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(shown.memo.Text(), u"1\n2\n"_s + pasted);
    QCOMPARE(shown.memo.document()->blockCount(), blocks);
    QCOMPARE(ModelPass(shown.history), ReferencePass(shown.memo));
    // Nothing older to redo.
    QTest::keyClick(&shown.memo, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(shown.memo.Text(), u"1\n2\n"_s + pasted);
}

// Beyond the budget the oldest documents go; the one Undo brings next stays
// however large it is.
void TestMemo::setAsideDocumentsKeepToTheirBudget()
{
    MemoOnDesktop shown;
    THistoryMemo &memo = shown.memo;
    memo.ReplaceText(Numbers(20000));
    QVERIFY(THistoryMemo::SetAsideBytes(*memo.document()) > 20000 * 130);
    QStringList shownTexts{memo.Text()};
    for (int paste = 1; paste <= 3; ++paste) {
        QApplication::clipboard()->setText(Numbers(20000, paste));
        QTest::keyClick(&memo, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&memo, Qt::Key_V, Qt::ControlModifier);
        shownTexts << memo.Text();
        // A pasted document shares blocks, so costs less than the first.
        if (paste == 1)
            memo.SetSetAsideBudget(THistoryMemo::SetAsideBytes(*memo.document()) * 5 / 2);
    }
    // Two of three fit: two Undo steps bring back what was shown.
    QCOMPARE(memo.SetAsideCount(), 2);
    for (int step = 2; step >= 0; --step) {
        memo.Undo();
        QCOMPARE(memo.Text(), shownTexts[qMax(step, 1)]);
    }
    memo.SetSetAsideBudget(1);
    memo.Redo();
    QCOMPARE(memo.Text(), shownTexts[2]);
    QCOMPARE(memo.SetAsideCount(), 2); // the next for Undo and for Redo
    memo.Undo();
    QCOMPARE(memo.Text(), shownTexts[1]);
}

void TestMemo::tripleClickSelectsALine_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("selected");
    // 40 lines pasted, the newest 10 in blocks of their own, the older ones
    // 16 to a block: line 20 shares one, line 35 has its own.
    QTest::newRow("in a shared block") << 20 << u"20\u2028"_s;
    QTest::newRow("last of a shared block") << 15 << u"15\u2029"_s;
    QTest::newRow("in its own block") << 35 << u"35\u2029"_s;
}

void TestMemo::tripleClickSelectsALine()
{
    QFETCH(int, line);
    QFETCH(QString, selected);
    MemoOnDesktop shown;
    shown.memo.SetLargeInsertBreaks(20);
    shown.memo.SetOwnBlockLines(10);
    QApplication::clipboard()->setText(Numbers(40));
    QTest::keyClick(&shown.memo, Qt::Key_V, Qt::ControlModifier);
    QVERIFY(shown.memo.document()->blockCount() < 20);
    const int at = int(shown.memo.Text().indexOf(u'\n' + QString::number(line) + u'\n')) + 2;
    PlaceCursor(shown.memo, at, at);
    shown.memo.ensureCursorVisible();
    const QPoint point = shown.memo.cursorRect().center();
    QTest::mouseDClick(shown.memo.viewport(), Qt::LeftButton, {}, point);
    QTest::mouseClick(shown.memo.viewport(), Qt::LeftButton, {}, point);
    QCOMPARE(shown.memo.textCursor().selectedText(), selected);
}

QTEST_MAIN(TestMemo)
#include "tst_memo.moc"