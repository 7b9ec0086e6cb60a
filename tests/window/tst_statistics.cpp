#include "WindowTest.h"

// ---------------------------------------------------------------- statistics

void TestWindow::workedExampleTypedIntoTheMemo()
{
    form->show();
    form->edit1->setText(u"3"_s);
    typeHistory({u"5"_s});
    QCOMPARE(form->edit13->text(), u"1"_s); // a pass per keystroke
    typeHistory({u"0"_s});
    QTest::keyClicks(form->listBox1, u"32"_s);
    QCOMPARE(form->listBox1->Text(), u"5\n0\n32"_s);
    QVERIFY(env->boxes.isEmpty());

    // Miss runs: red 0, black 3, even 0, odd 2, low 2, high 0, dozens 2 3 0,
    // columns 3 0 3.
    const int runs[13] = {0, 0, 3, 0, 2, 2, 0, 2, 3, 0, 3, 0, 3};
    for (int g = 1; g <= 12; ++g)
        for (int l = 1; l <= 10; ++l)
            QVERIFY2(image(g, l)->isHidden() == (l > runs[g]),
                     qPrintable(QStringLiteral("Im_%1_%2").arg(g).arg(l)));

    for (int n = 0; n <= 36; ++n) {
        const int absence = n == 32 ? 0 : n == 0 ? 1 : n == 5 ? 2 : 3;
        QCOMPARE(label(80 + n)->text(), QString::number(absence));
        QCOMPARE(label(80 + n)->font().bold(), absence >= 3);
        const int occurrence = (n == 5 || n == 0 || n == 32) ? 1 : 0;
        QCOMPARE(label(147 + n)->text(), QString::number(occurrence));
        QVERIFY(!label(147 + n)->font().bold());
    }
    QCOMPARE(form->statusBar1->SimpleText(),
             u"Ближайшее число: 1 (3), 2 (3), 3 (3), 4 (3), 6 (3)"_s);
    QCOMPARE(form->edit13->text(), u"3"_s);
    for (const char16_t *name : {u"b", u"y", u"g"})
        QVERIFY(form->FindComponentAs<QWidget>(name)->isHidden());
}

void TestWindow::calcEdgeCases_data()
{
    QTest::addColumn<QString>("history");
    QTest::addColumn<QString>("threshold");
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("shownPerRow"); // in every row
    QTest::addColumn<int>("boldCount");
    QTest::addColumn<QString>("lines");

    QTest::newRow("empty, 170") << QString() << u"170"_s << u"Ближайшее число: "_s << 0 << 0
                                << u"0"_s;
    QTest::newRow("empty, 0") << QString() << u"0"_s
                              << u"Ближайшее число: 0 (0), 1 (0), 2 (0), 3 (0), 4 (0)"_s << 0 << 37
                              << u"0"_s;
    QTest::newRow("ten zeros") << u"0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n"_s << u"170"_s
                               << u"Ближайшее число: "_s << 10 << 0 << u"10"_s;
    QTest::newRow("twelve zeros, threshold 12")
        << u"0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0"_s << u"12"_s
        << u"Ближайшее число: 1 (12), 2 (12), 3 (12), 4 (12), 5 (12)"_s << 10 << 36 << u"12"_s;
    QTest::newRow("skipped lines keep runs")
        << u"0\n\nabc\n0 \n+0\n  0\n$0"_s << u"4"_s
        << u"Ближайшее число: 1 (4), 2 (4), 3 (4), 4 (4), 5 (4)"_s << 4 << 36 << u"7"_s;
}

void TestWindow::calcEdgeCases()
{
    QFETCH(QString, history);
    QFETCH(QString, threshold);
    QFETCH(QString, status);
    QFETCH(int, shownPerRow);
    QFETCH(int, boldCount);
    QFETCH(QString, lines);

    form->edit1->setText(threshold);
    form->listBox1->ReplaceText(history);
    QVERIFY(env->boxes.isEmpty());
    QCOMPARE(form->statusBar1->SimpleText(), status);
    for (int g = 1; g <= 12; ++g) {
        int shown = 0;
        for (int l = 1; l <= 10; ++l)
            shown += !image(g, l)->isHidden();
        QCOMPARE(shown, shownPerRow);
    }
    int bold = 0;
    for (int n = 80; n <= 116; ++n)
        bold += label(n)->font().bold();
    QCOMPARE(bold, boldCount);
    QCOMPARE(form->edit13->text(), lines);
}

void TestWindow::calcEmptiesHiddenRowLabels()
{
    for (int n = 2; n <= 24; n += 2)
        label(n)->setText(u"x"_s);
    form->Calc();
    for (int n = 2; n <= 24; n += 2)
        QVERIFY(label(n)->text().isEmpty());
}

void TestWindow::boldFollowsTheThreshold()
{
    form->listBox1->ReplaceText(u"7\n7\n7\n1\n2"_s);
    // 7 is absent 2, 1 is absent 1, 2 is absent 0, the rest 5.
    form->edit1->setText(u"2"_s);
    QVERIFY(label(87)->font().bold()); // equal counts as reached
    QVERIFY(!label(81)->font().bold());
    form->edit1->setText(u"5"_s);
    QVERIFY(!label(87)->font().bold());
    QVERIFY(label(80)->font().bold());
    form->edit1->setText(u"6"_s);
    for (int n = 80; n <= 116; ++n)
        QVERIFY(!label(n)->font().bold());
    QCOMPARE(form->statusBar1->SimpleText(), u"Ближайшее число: "_s);
    QVERIFY(env->boxes.isEmpty());
}

void TestWindow::badThresholdShowsOneErrorAndKeepsCounts()
{
    form->edit1->setText(u"3"_s);
    typeHistory({u"5"_s, u"0"_s});
    QTest::keyClicks(form->listBox1, u"32"_s);
    QVERIFY(env->boxes.isEmpty());
    const QString status = form->statusBar1->SimpleText();

    form->edit1->setText(u"abc"_s);
    QCOMPARE(env->onlyBox(), FakeEnvironment::ErrorBox(u"'abc' is not a valid integer value."_s));

    // A new spin while the threshold is bad: the images follow it, the
    // counts, the bold styles, the status and the line count do not.
    QTest::keyClick(form->listBox1, Qt::Key_Return);
    QTest::keyClicks(form->listBox1, u"0"_s);
    QCOMPARE(env->boxes.size(), 3);
    QCOMPARE(env->boxes[2].text, u"'abc' is not a valid integer value."_s);
    QCOMPARE(form->statusBar1->SimpleText(), status);
    QCOMPARE(label(80 + 32)->text(), u"0"_s);
    QCOMPARE(label(147)->text(), u"1"_s);
    QVERIFY(label(81)->font().bold());
    QCOMPARE(form->edit13->text(), u"3"_s);
    // After 5, 0, 32, 0: red missed 1 (was 0), third dozen 1 (was 0).
    QVERIFY(!image(1, 1)->isHidden());
    QVERIFY(image(1, 2)->isHidden());
    QVERIFY(!image(2, 4)->isHidden());

    // An empty threshold box fails the same way.
    form->edit1->clear();
    QCOMPARE(env->boxes.last().text, u"'' is not a valid integer value."_s);
    form->edit1->setText(u"3"_s);
    QCOMPARE(form->edit13->text(), u"4"_s);
    QCOMPARE(label(147)->text(), u"2"_s);
    QCOMPARE(env->boxes.size(), 4);
}

void TestWindow::lineCountShowsInFull_data()
{
    QTest::addColumn<QString>("count");
    QTest::newRow("7 digits") << u"1000000"_s;
    QTest::newRow("8 digits") << u"99999999"_s;
    QTest::newRow("back to 1") << u"1"_s;
}

void TestWindow::lineCountShowsInFull()
{
    QFETCH(QString, count);
    form->show();
    QLineEdit &edit = *form->edit13;
    SetFittingText(edit, u"12345678"_s);
    SetFittingText(edit, count);
    QCOMPARE(edit.text(), count);
    QCOMPARE(edit.cursorPosition(), 0);
    // Every digit lies inside the box's text area.
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.lineWidth = edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit);
    const QRect area = edit.style()->subElementRect(QStyle::SE_LineEditContents, &option, &edit);
    QVERIFY(QFontMetrics(edit.font()).horizontalAdvance(count) <= area.width() - 4);
    // A short count keeps the window's own size of letters.
    if (count.size() <= 5)
        QCOMPARE(edit.font().pointSizeF(), form->font().pointSizeF());
}

void TestWindow::countLabelsGrowToTheRight()
{
    QLabel *left = label(80 + 18);  // number 18, left column
    QLabel *right = label(80 + 36); // number 36, right column
    const QRect before = left->geometry();
    QStringList spins;
    for (int i = 0; i < 170; ++i)
        spins.append(u"0"_s);
    form->edit1->setText(u"100"_s);
    form->listBox1->ReplaceText(spins.join(u'\n'));
    QCOMPARE(left->text(), u"170"_s);
    QVERIFY(left->font().bold());
    QCOMPARE(left->geometry(), before);
    // Seven bold digits fit, and stay clear of the other column.
    QVERIFY(left->fontMetrics().horizontalAdvance(u"1234567"_s) <= left->width());
    QVERIFY(left->geometry().right() < form->FindComponentAs<QLabel>(u"Label60")->x());
    QVERIFY(right->geometry().right() < right->parentWidget()->width());
}
