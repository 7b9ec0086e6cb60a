#include "AnalysisWindowTest.h"

#include "app/analysiswindow/WheelView.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTableWidget>
#include <QToolTip>

#include <cmath>
#include <numbers>

using namespace trevolo;
using namespace Qt::StringLiterals;

void TestAnalysisWindow::menuItem()
{
    const QList<QAction *> items = form->n3->actions();
    const qsizetype at = items.indexOf(form->n34); // after the tables' items
    QCOMPARE(items.value(at + 1)->objectName(), u"N27"_s);
    QCOMPARE(form->n27->text(), u"Анализ последовательности..."_s);
    // Its shortcut is taken by no other item.
    const QKeySequence keys = form->n27->shortcut();
    QVERIFY(!keys.isEmpty());
    for (QAction *other : form->findChildren<QAction *>())
        QVERIFY(other == form->n27 || other->shortcut() != keys);
}

void TestAnalysisWindow::opensFollowsAndRests()
{
    form->show();
    form->listBox1->ReplaceText(Lines({7, 7, 12}));
    QVERIFY(!form->analysisForm()); // nothing exists before the first opening
    AnalysisForm *window = open();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QVERIFY(window->isWindow());
    QCOMPARE(window->windowTitle(), u"Анализ последовательности"_s);
    QVERIFY(!window->isModal());
    QVERIFY(window->minimumSize() != window->maximumSize());
    QCOMPARE(shown("LabelSpins"), u"3"_s);

    form->listBox1->AppendLine(u"x"_s); // a line, not a spin
    form->listBox1->AppendLine(u"7"_s);
    QCOMPARE(shown("LabelSpins"), u"4"_s); // at once, within the pass
    QCOMPARE(shown("LabelHottest"), u"7: 3 (ожидается 0,1)"_s);

    // Hidden it follows nothing; opened again it catches up, the same window.
    form->listBox1->AppendLine(u"2"_s);
    window->hide();
    form->listBox1->AppendLine(u"1"_s);
    QTest::qWait(3 * AnalysisForm::RefreshDelay);
    QCOMPARE(shown("LabelSpins"), u"5"_s);
    QCOMPARE(open(), window);
    QCOMPARE(shown("LabelSpins"), u"6"_s);
    QVERIFY(env->boxes.isEmpty());
}

void TestAnalysisWindow::countsExample()
{
    form->listBox1->ReplaceText(CountsExample());
    open();
    QCOMPARE(shown("LabelChiSquare"), u"32,00"_s);
    QCOMPARE(shown("LabelChiSquareP"), u"66 %"_s);
    QCOMPARE(shown("LabelVerdict"), u"Отклонений от честного колеса не видно."_s);
    QCOMPARE(shown("LabelHottest"), u"17: 25 (ожидается 10,1)"_s);
    QCOMPARE(shown("LabelHottestP"), u"0,0043 %"_s);
    QCOMPARE(shown("LabelHottestFamilyP"), u"0,16 %"_s);
    QCOMPARE(shown("LabelDrought"), u"3: 375"_s);
    QCOMPARE(shown("LabelAlarmRate"), u"30 %"_s);
    QCOMPARE(shown("LabelHottestInterval"), u"3,2–12 %"_s); // 25 of 375
    // At some moment of a fair history as long: simulated on a thread.
    QTRY_VERIFY(shown("LabelDroughtEverP").contains(u" ± "_s));
    QVERIFY(shown("LabelHottestEverP", true).startsWith(u"Хоть раз за историю такой длины: "_s));
    QCOMPARE(shown("LabelNextSpin"),
             u"Следующий спин: по-прежнему 1/37 = 2,7 % для каждого числа."_s);
    QVERIFY(shown("LabelBreakEven").contains(u"около 474 000 спинов"_s));
    auto *table = form->analysisForm()->findChild<QTableWidget *>(u"TableGroups"_s);
    QCOMPARE(table->horizontalHeaderItem(1)->text(), u"Не выпадает, спинов"_s);
    QCOMPARE(table->horizontalHeaderItem(2)->text(), u"Шанс такой паузы"_s);
}

void TestAnalysisWindow::groupRuns()
{
    form->listBox1->ReplaceText(Lines({5, 0, 32}));
    auto *table = open()->findChild<QTableWidget *>(u"TableGroups"_s);
    QVERIFY(table);
    QCOMPARE(table->rowCount(), 16);
    // Zero breaks no combination's run but belongs to two sectors.
    const QStringList runs{u"0"_s, u"3"_s, u"0"_s, u"2"_s, u"2"_s, u"0"_s, u"2"_s, u"3"_s,
                           u"0"_s, u"3"_s, u"0"_s, u"3"_s, u"0"_s, u"2"_s, u"3"_s, u"0"_s};
    QStringList got;
    for (int row = 0; row < table->rowCount(); ++row)
        got << table->item(row, 1)->text();
    QCOMPARE(got, runs);
    QCOMPARE(table->item(1, 0)->text(), u"Чёрное"_s);
    QCOMPARE(table->item(1, 2)->text(), u"14 %"_s);            // (19/37)^3
    QCOMPARE(shown("LabelSectorsMostUnusual"), u"Треть: 2"_s); // 46 % against 48 %
    QCOMPARE(shown("LabelVerdict"), u"Слишком мало спинов для проверки: нужно не меньше 185."_s);
    QCOMPARE(shown("LabelChiSquareP"), u"—"_s);
}

void TestAnalysisWindow::badInput_data()
{
    QTest::addColumn<QString>("history");
    QTest::addColumn<QString>("threshold");
    QTest::addColumn<QString>("alarm");
    QTest::addColumn<QString>("spins");
    QTest::newRow("empty") << QString() << u"170"_s << u"—"_s << u"0"_s;
    QTest::newRow("no spins, letters") << u"a\n\n37\n-1"_s << u"abc"_s << u"—"_s << u"0"_s;
    QTest::newRow("negative threshold") << Lines({1, 2}) << u"-5"_s << u"> 99 %"_s << u"2"_s;
}

void TestAnalysisWindow::badInput()
{
    QFETCH(QString, history);
    QFETCH(QString, threshold);
    QFETCH(QString, alarm);
    QFETCH(QString, spins);
    form->edit1->setText(threshold);
    form->listBox1->ReplaceText(history);
    env->boxes.clear(); // the main window's own complaint about the threshold
    open();
    form->listBox1->AppendLine(u"zz"_s);
    QTest::qWait(2 * AnalysisForm::RefreshDelay);
    QCOMPARE(shown("LabelAlarmRate"), alarm);
    QCOMPARE(shown("LabelSpins"), spins);
    if (spins == u"0")
        QCOMPARE(shown("LabelHottest"), u"—"_s);
    // Only the main window's own complaint about a threshold that does not
    // convert, once for the appended line.
    QCOMPARE(env->boxes.size(), threshold == u"abc" ? 1 : 0);
}

void TestAnalysisWindow::verdictWords_data()
{
    QTest::addColumn<QString>("history");
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<bool>("noted");
    QTest::addColumn<QString>("power");
    QStringList uneven;
    for (int i = 0; i < 185; ++i)
        uneven << QString::number(i % 3 == 0 ? 17 : i % 37);
    const QStringList few = uneven.first(184);
    QTest::newRow("0..36 five times: too even")
        << Numbers(5 * 37).trimmed()
        << u"Распределение слишком равномерное для случайного колеса (шанс такого или меньшего "
           u"χ² < 1 %)."_s
        << true << u"11 %"_s;
    QTest::newRow("17 every third spin: uneven")
        << uneven.join(u'\n') << u"Отклонение от равномерного статистически значимо (p < 1 %)."_s
        << true << u"11 %"_s;
    QTest::newRow("one spin short of the test")
        << few.join(u'\n') << u"Слишком мало спинов для проверки: нужно не меньше 185."_s << false
        << u"—"_s;
}

void TestAnalysisWindow::verdictWords()
{
    QFETCH(QString, history);
    QFETCH(QString, verdict);
    QFETCH(bool, noted);
    QFETCH(QString, power);
    form->listBox1->ReplaceText(history);
    open();
    QCOMPARE(shown("LabelVerdict"), verdict);
    const auto *note = form->analysisForm()->findChild<QLabel *>(u"LabelVerdictNote"_s);
    QCOMPARE(note->isVisible(), noted);
    QCOMPARE(note->text().isEmpty(), !noted);
    QCOMPARE(shown("LabelPower"), power);
}

void TestAnalysisWindow::emptyHistoryShowsNoFigures()
{
    form->listBox1->ReplaceText(u"x"_s);
    AnalysisForm *window = open();
    // Every figure reads "—" but the count of spins, the verdict and the
    // fixed sentences.
    const QStringList words{u"LabelSpins"_s, u"LabelVerdict"_s, u"LabelVerdictNote"_s,
                            u"LabelBreakEven"_s, u"LabelNextSpin"_s};
    for (const QLabel *label : window->findChildren<QLabel *>()) {
        if (label->objectName().startsWith(u"Label"_s) && !words.contains(label->objectName()))
            QVERIFY2(label->text() == u"—"_s, qPrintable(label->objectName()));
    }
    const auto *table = window->findChild<QTableWidget *>(u"TableGroups"_s);
    for (int row = 0; row < table->rowCount(); ++row) {
        QCOMPARE(table->item(row, 1)->text(), u"—"_s);
        QCOMPARE(table->item(row, 2)->text(), u"—"_s);
    }
    // Every figure is named after its caption and value for a screen reader.
    QCOMPARE(shown("LabelChiSquareP", true), u"Шанс такого или большего χ² на честном колесе: —"_s);
    // A family chance holds for the moment the history ends.
    QCOMPARE(shown("LabelGroupsFamilyP", true), u"Такое хотя бы у одной из 12 сейчас: —"_s);
}

void TestAnalysisWindow::wheelPockets_data()
{
    QTest::addColumn<int>("index"); // in wheel order, clockwise from the top
    QTest::addColumn<int>("number");
    QTest::newRow("top") << 0 << 0;
    QTest::newRow("next clockwise") << 1 << 32;
    QTest::newRow("last") << 36 << 26;
    QTest::newRow("bottom") << 18 << 10;
}

void TestAnalysisWindow::wheelPockets()
{
    QFETCH(int, index);
    QFETCH(int, number);
    form->listBox1->ReplaceText(Lines({number, 3, 3}));
    showPage(open(), AnalysisForm::WheelTab);
    WheelView *wheel = form->analysisForm()->wheelView();
    wheel->resize(300, 300);
    const double angle = index * 2 * std::numbers::pi / 37;
    const double radius = 0.8 * 146; // inside the pockets' ring
    const QPoint at(150 + int(std::lround(radius * std::sin(angle))),
                    150 - int(std::lround(radius * std::cos(angle))));
    QTest::mouseClick(wheel, Qt::LeftButton, {}, QPoint(150, 150)); // the middle is no pocket
    // A click shows the pocket's figures and enters nothing: the pad enters.
    QTest::mouseClick(wheel, Qt::LeftButton, {}, at);
    QCOMPARE(form->listBox1->Text(), Lines({number, 3, 3}));
    const QString tip = QToolTip::text();
    QVERIFY2(tip.contains(u"Число %1\n"_s.arg(number)) && tip.contains(u"Не выпадает: 2"_s) &&
                 tip.contains(u"Выпадений: 1"_s),
             qPrintable(tip));
}

// The heat ring's CIE L* rises along its legend, by at least 50 in all.
void TestAnalysisWindow::heatScaleGetsLighter()
{
    const auto lightness = [](double heat) {
        const QColor c = WheelView::HeatColour(heat);
        const auto linear = [](double v) {
            return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        const double y =
            0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
        return y > 216.0 / 24389 ? 116 * std::cbrt(y) - 16 : y * 24389 / 27;
    };
    for (int step = 1; step <= 64; ++step)
        QVERIFY(lightness(step / 64.0) > lightness((step - 1) / 64.0));
    QVERIFY(lightness(1) - lightness(0) >= 50);
}

QTEST_MAIN(TestAnalysisWindow)
