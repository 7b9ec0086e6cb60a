#include "WindowTest.h"

// ------------------------------------------------------------------ adapters

void TestWindow::trackBarRules_data()
{
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("newMin");
    QTest::addColumn<int>("newMax");
    QTest::addColumn<int>("newPosition");

    QTest::newRow("min above max ignored") << 0 << 8 << 2 << u"min"_s << 9 << 0 << 8 << 2;
    QTest::newRow("min raises position") << 0 << 8 << 2 << u"min"_s << 5 << 5 << 8 << 5;
    QTest::newRow("min equal to max") << 0 << 8 << 2 << u"min"_s << 8 << 8 << 8 << 8;
    QTest::newRow("min below position") << 2 << 10 << 8 << u"min"_s << 0 << 0 << 10 << 8;
    QTest::newRow("max below min ignored") << 2 << 10 << 8 << u"max"_s << 1 << 2 << 10 << 8;
    QTest::newRow("max lowers position") << 2 << 10 << 8 << u"max"_s << 5 << 2 << 5 << 5;
    QTest::newRow("max equal to min") << 2 << 10 << 8 << u"max"_s << 2 << 2 << 2 << 2;
    QTest::newRow("position clamped up") << 0 << 8 << 2 << u"position"_s << 20 << 0 << 8 << 8;
    QTest::newRow("position clamped down")
        << 20 << 100 << 50 << u"position"_s << 0 << 20 << 100 << 20;
    QTest::newRow("same position") << 0 << 8 << 2 << u"position"_s << 2 << 0 << 8 << 2;
}

void TestWindow::trackBarRules()
{
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(int, position);
    QFETCH(QString, operation);
    QFETCH(int, value);
    QFETCH(int, newMin);
    QFETCH(int, newMax);
    QFETCH(int, newPosition);

    TTrackBar bar;
    bar.SetMax(max);
    bar.SetMin(min);
    bar.SetPosition(position);
    QSignalSpy changes(&bar, &QSlider::valueChanged);
    if (operation == u"min")
        bar.SetMin(value);
    else if (operation == u"max")
        bar.SetMax(value);
    else
        bar.SetPosition(value);
    QCOMPARE(bar.Min(), newMin);
    QCOMPARE(bar.Max(), newMax);
    QCOMPARE(bar.Position(), newPosition);
    QCOMPARE(changes.size(), newPosition == position ? 0 : 1);
    if (!changes.isEmpty())
        QCOMPARE(changes[0][0].toInt(), newPosition);
}

namespace {

// A coupled pair as the risk sliders use it: the upper slider's minimum
// follows the lower position, the lower slider's maximum the upper one. The
// log records each handler run with its nesting depth and both positions.
struct CoupledPair
{
    TTrackBar lower, upper;
    QStringList log;
    int depth = 0;

    CoupledPair()
    {
        lower.SetMax(8);
        lower.SetPosition(2);
        upper.SetMax(10);
        upper.SetMin(2);
        upper.SetPosition(8);
        QObject::connect(&lower, &QSlider::valueChanged, &lower, [this] { handler(u"L"); });
        QObject::connect(&upper, &QSlider::valueChanged, &upper, [this] { handler(u"U"); });
    }
    void handler(QStringView who)
    {
        log.append(QStringLiteral("%1%2:%3/%4")
                       .arg(who)
                       .arg(depth)
                       .arg(lower.Position())
                       .arg(upper.Position()));
        ++depth;
        upper.SetMin(lower.Position());
        lower.SetMax(upper.Position());
        --depth;
    }
};

} // namespace

void TestWindow::trackBarSignalsNestInsideTheOperation()
{
    {
        // The user's drag: one handler run, the other limit follows.
        CoupledPair pair;
        pair.lower.SetPosition(5);
        QCOMPARE(pair.log, QStringList{u"L0:5/8"_s});
        QCOMPARE(pair.upper.Min(), 5);
        QCOMPARE(pair.lower.Max(), 8);
    }
    {
        // A stored lower 9 and upper 3 applied as a preset switch does it:
        // minimum of upper := 9, maximum of lower := 3, then the positions.
        CoupledPair pair;
        pair.upper.SetMin(9); // upper moves 8 -> 9; its handler runs inside
        QCOMPARE(pair.log, QStringList{u"U0:2/9"_s});
        QCOMPARE(pair.upper.Min(), 2); // the handler put the coupling back
        pair.lower.SetMax(3);          // position 2 stays: no run
        QCOMPARE(pair.log.size(), 1);
        pair.lower.SetPosition(9); // clamped to 3
        pair.upper.SetPosition(3);
        QCOMPARE(pair.log, (QStringList{u"U0:2/9"_s, u"L0:3/9"_s, u"U0:3/3"_s}));
        QCOMPARE(pair.lower.Position(), 3);
        QCOMPARE(pair.upper.Position(), 3);
        QCOMPARE(pair.upper.Min(), 3);
        QCOMPARE(pair.lower.Max(), 3);
        QCOMPARE(pair.lower.Min(), 0);
        QCOMPARE(pair.upper.Max(), 10);
    }
    {
        // A handler that moves another slider runs that slider's handler
        // inside its own, before it goes on.
        TTrackBar a, b;
        b.SetMax(10);
        QStringList log;
        QObject::connect(&a, &QSlider::valueChanged, &a, [&](int value) {
            log.append(u"a enter"_s);
            b.SetPosition(value);
            log.append(u"a leave"_s);
        });
        QObject::connect(&b, &QSlider::valueChanged, &b,
                         [&](int value) { log.append(u"b "_s + QString::number(value)); });
        a.SetPosition(4);
        QCOMPARE(log, (QStringList{u"a enter"_s, u"b 4"_s, u"a leave"_s}));
    }
}

void TestWindow::trackBarUserMoveSignals()
{
    TTrackBar bar;
    bar.SetMax(8);
    bar.SetPosition(2);
    QSignalSpy changes(&bar, &QSlider::valueChanged);
    QTest::keyClick(&bar, Qt::Key_Right);
    QCOMPARE(bar.Position(), 3);
    QCOMPARE(changes.size(), 1);
    QTest::keyClick(&bar, Qt::Key_End);
    QCOMPARE(bar.Position(), 8);
    QTest::keyClick(&bar, Qt::Key_End); // already at the end
    QCOMPARE(changes.size(), 2);
    // The tick of a value lies inside the slider, in order.
    QVERIFY(bar.TickX(0) < bar.TickX(4));
    QVERIFY(bar.TickX(8) < bar.width());
}

void TestWindow::comboBoxProgrammaticAndUser()
{
    TComboBox box;
    box.addItems({u"Низкий"_s, u"Средний"_s, u"Высокий"_s});
    QSignalSpy user(&box, &TComboBox::userChanged);

    box.SetItemIndex(2);
    QCOMPARE(box.ItemIndex(), 2);
    box.SetItemIndex(3);
    QCOMPARE(box.ItemIndex(), -1);
    box.SetItemIndex(1);
    box.SetItemIndex(-5);
    QCOMPARE(box.ItemIndex(), -1);
    box.SetItemIndex(0);
    QCOMPARE(user.size(), 0);

    // The user moves the selection with the keyboard.
    QTest::keyClick(&box, Qt::Key_Down);
    QCOMPARE(box.ItemIndex(), 1);
    QCOMPARE(user.size(), 1);

    // An item's text can change without moving the selection.
    box.setItemText(2, u"High"_s);
    QCOMPARE(box.ItemIndex(), 1);
    QCOMPARE(user.size(), 1);
}

void TestWindow::historyMemoAppendLine_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("empty") << QString() << u"5\n"_s;
    QTest::newRow("ends with a break") << u"1\n2\n"_s << u"1\n2\n5\n"_s;
    QTest::newRow("typed without a break") << u"12"_s << u"12\n5"_s;
    QTest::newRow("blank last line typed") << u"1\n\n"_s << u"1\n\n5\n"_s;
}

void TestWindow::historyMemoAppendLine()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    SpinHistory history;
    THistoryMemo memo(history);
    memo.ReplaceText(before);
    QCOMPARE(memo.EndsWithLineBreak(), before.isEmpty() || before.endsWith(u'\n'));
    QSignalSpy changes(&memo, &QPlainTextEdit::textChanged);
    memo.AppendLine(u"5"_s);
    QCOMPARE(memo.Text(), after);
    QCOMPARE(changes.size(), 1);
    QVERIFY(memo.textCursor().atEnd());
}

void TestWindow::historyMemoNotifications()
{
    QWidget host;
    SpinHistory history;
    THistoryMemo memo(history, &host);
    QLineEdit next(&host);
    host.show();
    QSignalSpy changes(&memo, &QPlainTextEdit::textChanged);

    QTest::keyClicks(&memo, u"123"_s);
    QCOMPARE(changes.size(), 3);
    QTest::keyClick(&memo, Qt::Key_Return);
    QTest::keyClick(&memo, Qt::Key_Backspace);
    QCOMPARE(changes.size(), 5);
    QTest::keyClick(&memo, Qt::Key_Left); // moves the caret only
    QTest::keyClick(&memo, Qt::Key_Tab);  // moves the focus on, types nothing
    QCOMPARE(changes.size(), 5);
    QCOMPARE(memo.Text(), u"123"_s);

    memo.InsertAtEnd(u"4\n5\n6"_s);
    QCOMPARE(changes.size(), 6);
    QCOMPARE(memo.Text(), u"1234\n5\n6"_s);

    memo.ReplaceText(u"7\n8"_s);
    QCOMPARE(changes.size(), 7);
    QCOMPARE(memo.Text(), u"7\n8"_s);

    memo.ClearSilently();
    QCOMPARE(changes.size(), 7);
    QVERIFY(memo.Text().isEmpty());
    // The memo still notifies afterwards.
    QTest::keyClicks(&memo, u"9"_s);
    QCOMPARE(changes.size(), 8);
}

void TestWindow::historyMemoHoldsWhatTheFileCan_data()
{
    QTest::addColumn<int>("way");
    QTest::newRow("typed") << 0;
    QTest::newRow("composed") << 1;
    QTest::newRow("pasted") << 2;
}

void TestWindow::historyMemoHoldsWhatTheFileCan()
{
    QFETCH(int, way);
    // A Chinese character and an emoji: code page 1251 holds neither.
    const QString input = u"1\u4E2D2\U0001F600\u04103"_s;
    THistoryMemo *memo = form->listBox1;
    if (way == 0) {
        QTest::sendKeyEvent(QTest::Press, memo, Qt::Key_unknown, input, Qt::NoModifier);
    } else if (way == 1) {
        QInputMethodEvent event;
        event.setCommitString(input);
        QApplication::sendEvent(memo, &event);
    } else {
        QGuiApplication::clipboard()->setText(input);
        memo->paste();
    }
    QCOMPARE(memo->Text(), u"1?2?\u04103"_s);

    // The file holds what the memo shows.
    QTemporaryDir dir;
    const QString file = dir.filePath(u"spins.txt"_s);
    env->saveAnswers.push_back(FileChoice{file, u"Текстовые файлы (*.txt)"_s});
    form->n6->trigger();
    QCOMPARE(ReadRaw(file), QByteArrayLiteral("1?2?\xC0"
                                              "3"));
}

void TestWindow::pageControlTabs()
{
    TPageControl *pages = form->pageControl1;
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QSignalSpy switched(pages, &TPageControl::activePageChanged);

    // Tabs do not overlap.
    for (int i = 0; i < pages->PageCount(); ++i)
        for (int j = i + 1; j < pages->PageCount(); ++j)
            QVERIFY(!pages->TabRect(i).intersects(pages->TabRect(j)));

    QTest::mouseClick(pages, Qt::LeftButton, {}, pages->TabRect(3).center());
    QCOMPARE(pages->ActivePage(), form->tabSheet3);
    QVERIFY(form->tabSheet3->isVisible());
    QVERIFY(!form->tabSheet1->isVisible());
    QCOMPARE(switched.size(), 1);
    // The selected tab's row lies next to the page.
    QCOMPARE(pages->TabRect(3).bottom() + 1, pages->TabRect(4).bottom() + 1);
    QVERIFY(pages->TabRect(3).y() > pages->TabRect(0).y());

    QTest::keyClick(pages, Qt::Key_Right);
    QCOMPARE(pages->ActivePage(), form->tabSheet6);
    QTest::keyClick(pages, Qt::Key_Right);
    QCOMPARE(pages->ActivePage(), form->tabSheet1);

    // A new caption shows on its tab at once.
    const int before = pages->TabRect(3).width();
    form->tabSheet3->SetCaption(u"Settings and more settings"_s);
    QCOMPARE(form->tabSheet3->Caption(), u"Settings and more settings"_s);
    QVERIFY(pages->TabRect(3).width() != before);
    for (int i = 0; i < pages->PageCount(); ++i)
        QVERIFY(pages->rect().contains(pages->TabRect(i)));
}

void TestWindow::fileDialogRemembersTheChoice()
{
    TFileDialog *dialog = form->openDialog2;
    QCOMPARE(dialog->kind(), TFileDialog::Kind::Open);
    QVERIFY(dialog->Options().mustExist);
    QCOMPARE(dialog->Options().defaultSuffix, u"txt"_s);
    QCOMPARE(dialog->Options().filters,
             (QStringList{u"Текстовые файлы (*.txt)"_s, u"Все файлы (*.*)"_s}));
    QCOMPARE(form->saveDialog1->Options().defaultSuffix, u"ini"_s);
    QVERIFY(!form->saveDialog2->Options().mustExist);
    QVERIFY(!form->saveDialog2->Options().promptOverwrite);

    env->openAnswers.push_back(FileChoice{u"/data/a.txt"_s, u"Все файлы (*.*)"_s});
    QCOMPARE(dialog->Execute(*env, form.get()), std::optional<QString>(u"/data/a.txt"_s));
    QVERIFY(env->openRequests[0].initialFileName.isEmpty());

    // Cancelled: nothing changes; the next time offers the last choice.
    QCOMPARE(dialog->Execute(*env, form.get()), std::nullopt);
    QCOMPARE(env->openRequests[1].initialFileName, u"/data/a.txt"_s);
    QCOMPARE(env->openRequests[1].selectedFilter, u"Все файлы (*.*)"_s);
    // The other dialogs keep their own.
    QCOMPARE(form->saveDialog2->Execute(*env, form.get()), std::nullopt);
    QVERIFY(env->saveRequests[0].initialFileName.isEmpty());
}
