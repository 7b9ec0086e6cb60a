// The entry pad end to end: its buttons, keys, undo and redo act on the real
// history memo of a real main window.
#include "support/WindowFixture.h"

#include "support/TestFiles.h"

#include "app/entrypad/EntryPadForm.h"
#include "app/mainwindow/Unit1.h"
#include "app/widgets/ChildWindow.h"
#include "support/TestHistories.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace trevolo;
using namespace Qt::StringLiterals;

class TestEntryPad : public QObject, private WindowFixture
{
    Q_OBJECT

private:
    THistoryMemo &memo() const { return *form->listBox1; }
    EntryPadForm &pad() const { return *form->EntryPad(); }
    QPushButton &button(const QString &name) const
    {
        auto *found = pad().findChild<QPushButton *>(name);
        if (!found)
            qFatal("no button %s", qPrintable(name));
        return *found;
    }
    QString recent() const { return pad().findChild<QLabel *>(u"PadRecent"_s)->accessibleName(); }
    void openPad(const QString &history)
    {
        memo().ReplaceText(history);
        form->show();
        form->n28->trigger();
        QVERIFY(form->EntryPad());
        QVERIFY(QTest::qWaitForWindowActive(&pad()));
    }

private Q_SLOTS:
    void init() { createAll(); }
    void cleanup() { destroyAll(); }

    void clickEntersOneSpin_data();
    void clickEntersOneSpin();
    void undoTwiceRedoOnce_data();
    void undoTwiceRedoOnce();
    void redoEndsWithAnyOtherChange_data();
    void redoEndsWithAnyOtherChange();
    void keyboard_data();
    void keyboard();
    void placement_data();
    void placement();
    void placedClearOfTheMenuBar();
    void undoRedoKeepFoldedLines_data();
    void undoRedoKeepFoldedLines();
};

// One click, one line by the generator's append rule, one pass.
void TestEntryPad::clickEntersOneSpin_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("recent");
    QTest::newRow("empty") << u""_s << 17 << u"17\n"_s << u"Последние: 17"_s;
    QTest::newRow("final break") << u"3\nabc\n"_s << 17 << u"3\nabc\n17\n"_s
                                 << u"Последние: 17, 3"_s;
    QTest::newRow("no final break") << u"12"_s << 5 << u"12\n5"_s << u"Последние: 5, 12"_s;
    QTest::newRow("zero") << u"40\n 7\n"_s << 0 << u"40\n 7\n0\n"_s << u"Последние: 0, 7"_s;
}

void TestEntryPad::clickEntersOneSpin()
{
    QFETCH(QString, before);
    QFETCH(int, number);
    QFETCH(QString, after);
    QFETCH(QString, recent);
    openPad(before);
    countPassesByErrorBoxes();
    QTest::mouseClick(&button(u"Pad"_s + QString::number(number)), Qt::LeftButton);
    QCOMPARE(memo().Text(), after);
    QCOMPARE(takePasses(), 1);
    QCOMPARE(this->recent(), recent);
}

void TestEntryPad::undoTwiceRedoOnce_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("afterOneUndo");
    QTest::addColumn<QString>("afterTwo");
    QTest::newRow("final break") << u"1\n2\nabc\n3\n"_s << u"1\n2\nabc\n"_s << u"1\n"_s;
    QTest::newRow("no final break") << u"1\n2\nabc\n3"_s << u"1\n2\nabc"_s << u"1"_s;
    // Soft line breaks inside a block separate lines as well.
    QTest::newRow("soft breaks") << u"1\u20282\nabc\u20283"_s << u"1\n2\nabc"_s << u"1"_s;
    QTest::newRow("first line") << u"x\n5\n\n"_s << u"x\n"_s << u"x\n"_s;
}

// Undo by the button, then by Ctrl+Z; redo by Ctrl+Shift+Z, then the button.
// Each step is one edit with one pass; the redone text is the text undone.
void TestEntryPad::undoTwiceRedoOnce()
{
    QFETCH(QString, before);
    QFETCH(QString, afterOneUndo);
    QFETCH(QString, afterTwo);
    openPad(before);
    const QString original = memo().Text();
    countPassesByErrorBoxes();
    const bool secondChanges = afterTwo != afterOneUndo;

    QTest::mouseClick(&button(u"PadUndo"_s), Qt::LeftButton);
    QCOMPARE(memo().Text(), afterOneUndo);
    QCOMPARE(takePasses(), 1);
    QVERIFY(button(u"PadRedo"_s).isEnabled());
    QTest::keyClick(&pad(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(memo().Text(), afterTwo);
    QCOMPARE(takePasses(), secondChanges ? 1 : 0);
    QCOMPARE(button(u"PadUndo"_s).isEnabled(), memo().Text() != u"x\n"_s);

    QTest::keyClick(&pad(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(memo().Text(), secondChanges ? afterOneUndo : original);
    QCOMPARE(takePasses(), 1);
    QCOMPARE(button(u"PadRedo"_s).isEnabled(), secondChanges);
    if (secondChanges)
        QTest::mouseClick(&button(u"PadRedo"_s), Qt::LeftButton);
    QCOMPARE(memo().Text(), original);
    // Soft breaks come back as soft breaks, block breaks as block breaks.
    QCOMPARE(memo().document()->toRawText(),
             QString(before).replace(u'\n', QChar::ParagraphSeparator));
    // Each change is one step of the memo's own undo stack.
    memo().undo();
    QCOMPARE(memo().Text(), secondChanges ? afterOneUndo : afterTwo);
}

void TestEntryPad::redoEndsWithAnyOtherChange_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("typed") << u"typed"_s;
    QTest::newRow("cleared") << u"N16"_s;
    QTest::newRow("generated") << u"N52"_s;
    QTest::newRow("pad click") << u"Pad9"_s;
    QTest::newRow("memo's own undo") << u"memo undo"_s;
    QTest::newRow("loaded") << u"N5"_s;
}

void TestEntryPad::redoEndsWithAnyOtherChange()
{
    QFETCH(QString, change);
    QTemporaryDir folder;
    const QString file = folder.filePath(u"loaded.txt"_s);
    QVERIFY(WriteRaw(file, "1\r\n2\r\n"));
    env->openAnswers.push_back(FileChoice{file, {}});
    openPad(u"4\n8\n"_s);
    pad().Undo();
    QVERIFY(pad().CanRedo());
    if (change == u"typed")
        QTest::keyClick(&memo(), Qt::Key_7);
    else if (change == u"memo undo")
        memo().undo();
    else if (change.startsWith(u"Pad"))
        QTest::mouseClick(&button(change), Qt::LeftButton);
    else
        form->FindComponentAs<QAction>(change)->trigger();
    const QString changed = memo().Text();
    QVERIFY(!pad().CanRedo());
    QVERIFY(!button(u"PadRedo"_s).isEnabled());
    pad().Redo();
    QCOMPARE(memo().Text(), changed);
    // The pad still follows the history (a loaded one is a new document).
    memo().AppendLine(u"5"_s);
    QVERIFY(recent().startsWith(u"Последние: 5"_s));
    pad().Undo();
    QVERIFY(pad().CanRedo());
    QTest::keyClick(&memo(), Qt::Key_9);
    QVERIFY(!pad().CanRedo());
}

// Keys: digits, "\n" Enter, "\b" Backspace, "\x1b" Esc, which drops typed
// digits first and closes the pad once none are left.
void TestEntryPad::keyboard_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("history");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("open");
    QTest::newRow("3, 6, Enter") << u"36\n"_s << u"36\n"_s << u""_s << true;
    QTest::newRow("Backspace") << u"4\b5\n"_s << u"5\n"_s << u""_s << true;
    QTest::newRow("Esc") << u"29\x1b"_s << u""_s << u""_s << true;
    QTest::newRow("Esc, then a number") << u"2\x1b"_s
                                           "7\n"
                                        << u"7\n"_s << u""_s << true;
    QTest::newRow("Esc alone closes") << u"\x1b"_s << u""_s << u""_s << false;
    QTest::newRow("Esc twice closes") << u"29\x1b\x1b"_s << u""_s << u""_s << false;
    QTest::newRow("37 refused") << u"37\n"_s << u""_s << u"37"_s << true;
    QTest::newRow("37 corrected") << u"37\n\b\n"_s << u"3\n"_s << u""_s << true;
    QTest::newRow("Enter alone") << u"\n"_s << u""_s << u""_s << true;
}

void TestEntryPad::keyboard()
{
    QFETCH(QString, keys);
    QFETCH(QString, history);
    QFETCH(QString, typed);
    QFETCH(bool, open);
    openPad(QString());
    for (const QChar key : keys) {
        if (key == u'\n')
            QTest::keyClick(&pad(), Qt::Key_Return);
        else if (key == u'\b')
            QTest::keyClick(&pad(), Qt::Key_Backspace);
        else if (key == u'\x1b')
            QTest::keyClick(&pad(), Qt::Key_Escape);
        else
            QTest::keyClick(&pad(), Qt::Key(Qt::Key_0 + key.digitValue()));
    }
    QCOMPARE(memo().Text(), history);
    QCOMPARE(pad().Typed(), typed);
    QCOMPARE(pad().isVisible(), open);
    QVERIFY(env->boxes.isEmpty());
    // Digits that make no wheel number stay, in red.
    const auto *shown = pad().findChild<QLabel *>(u"PadTyped"_s);
    QCOMPARE(shown->text(), typed);
    QCOMPARE(shown->palette().color(QPalette::WindowText) == QColor(Qt::red), typed == u"37"_s);
}

// Beside the window on the right, else the left, else below; with no room
// for any, over the window's lower right but never over its menu bar.
void TestEntryPad::placement_data()
{
    QTest::addColumn<QRect>("window");
    QTest::addColumn<QSize>("pad");
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QPoint>("expected");

    const QSize pad(480, 220);
    const QRect wide(0, 0, 1280, 800);
    QTest::newRow("right") << QRect(100, 50, 330, 600) << pad << wide << QPoint(438, 50);
    QTest::newRow("right, level with the screen's top")
        << QRect(100, -20, 330, 600) << pad << wide << QPoint(438, 0);
    QTest::newRow("left") << QRect(700, 50, 330, 600) << pad << wide << QPoint(212, 50);
    QTest::newRow("below") << QRect(300, 0, 330, 600) << pad << QRect(0, 0, 1024, 1000)
                           << QPoint(300, 608);
    QTest::newRow("below, within the screen")
        << QRect(450, 0, 330, 600) << pad << QRect(0, 0, 900, 1000) << QPoint(420, 608);
    QTest::newRow("no room: lower right")
        << QRect(300, 0, 330, 600) << pad << QRect(0, 0, 1024, 600) << QPoint(150, 380);
    QTest::newRow("no room, tall pad: under the menu bar")
        << QRect(300, 0, 330, 600) << QSize(480, 590) << QRect(0, 0, 1024, 600) << QPoint(150, 47);
}

void TestEntryPad::placement()
{
    QFETCH(QRect, window);
    QFETCH(QSize, pad);
    QFETCH(QRect, screen);
    QFETCH(QPoint, expected);
    // The menu bar under a title bar of 25 pixels.
    const QRect menuBar(window.left(), window.top() + 25, window.width(), 22);
    const QRect placed = PlaceBeside(window, menuBar, screen, QMargins(), EntryPadForm::Placing(pad));
    QCOMPARE(placed.topLeft(), expected);
    QVERIFY(!placed.intersects(menuBar));
}

// Placed from the real window, wherever it stands, it leaves the menu bar free.
void TestEntryPad::placedClearOfTheMenuBar()
{
    openPad(QString());
    for (const QPoint at : {QPoint(0, 0), QPoint(200, 20), QPoint(480, 0)}) {
        form->move(at);
        PlaceChildWindow(pad(), *form, EntryPadForm::Placing(pad().sizeHint()));
        const QWidget *bar = form->menuWidget();
        const QRect menuBar(bar->mapToGlobal(QPoint(0, 0)), bar->size());
        QVERIFY2(!pad().frameGeometry().intersects(menuBar), qPrintable(QString::number(at.x())));
    }
}

void TestEntryPad::undoRedoKeepFoldedLines_data()
{
    // A spin typed, then a line too long to lay out pasted after it.
    QTest::addColumn<int>("typed");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QList<int>>("spins"); // the newest first
    QTest::newRow("digits, no spin") << 7 << QString(70000, u'5') << QList<int>{7};
    QTest::newRow("blanks, then a spin") << 5 << QString(70000, u' ') + u"9"_s << QList<int>{9, 5};
}

// The pad's Undo and Redo of a folded line give back the exact text.
void TestEntryPad::undoRedoKeepFoldedLines()
{
    QFETCH(int, typed);
    QFETCH(QString, pasted);
    QFETCH(QList<int>, spins);
    openPad(QString());
    QTest::keyClick(&memo(), Qt::Key(Qt::Key_0 + typed));
    QTest::keyClick(&memo(), Qt::Key_Return);
    QApplication::clipboard()->setText(pasted);
    QTest::keyClick(&memo(), Qt::Key_V, Qt::ControlModifier);
    const QString history = QString::number(typed) + u"\n"_s + pasted;
    QCOMPARE(memo().Text(), history);
    QVERIFY(memo().document()->toRawText().endsWith(QChar::ObjectReplacementCharacter));
    pad().Undo();
    QCOMPARE(memo().Text(), spins.size() == 1 ? QString() : QString::number(typed));
    pad().Redo();
    QCOMPARE(memo().Text(), history);
    QCOMPARE(NewestSpins(form->History(), 2), spins);
}

QTEST_MAIN(TestEntryPad)
#include "tst_entrypad.moc"
