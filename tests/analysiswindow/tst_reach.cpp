// The analysis window by keyboard and screen reader, and on small screens.
#include "AnalysisWindowTest.h"

#include "app/analysiswindow/WheelView.h"
#include "app/widgets/PocketColours.h"
#include "app/widgets/WindowPlacement.h"

#include <QAccessible>
#include <QChartView>
#include <QComboBox>
#include <QFocusFrame>
#include <QGraphicsTextItem>
#include <QScreen>

using namespace trevolo;
using namespace Qt::StringLiterals;

namespace {

// The part of a widget that shows in its window, in the window's
// coordinates: what its parents (a scrolled page among them) leave of it.
QRect ShownPart(const QWidget *widget)
{
    const QWidget *window = widget->window();
    QRect part(widget->mapTo(window, QPoint()), widget->size());
    for (const QWidget *parent = widget->parentWidget(); parent != window;
         parent = parent->parentWidget())
        part &= QRect(parent->mapTo(window, QPoint()), parent->size());
    return part & window->rect();
}

} // namespace

void TestAnalysisWindow::placement_data()
{
    QTest::addColumn<QRect>("owner"); // with its frame
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QRect>("placed"); // inside the frame
    const QRect wide(0, 0, 1920, 1040);
    QTest::newRow("right of the owner")
        << QRect(0, 0, 600, 600) << wide << QRect(602, 30, 1180, 1000);
    // Moved up as far as the screen needs.
    QTest::newRow("left, no room on the right")
        << QRect(1300, 100, 600, 600) << wide << QRect(118, 38, 1180, 1000);
    QTest::newRow("right, narrower and shorter")
        << QRect(0, 0, 600, 600) << QRect(0, 0, 1440, 900) << QRect(602, 30, 836, 868);
    QTest::newRow("1024x600: over the owner, the screen's size")
        << QRect(0, 0, 600, 570) << QRect(0, 0, 1024, 560) << QRect(2, 30, 1020, 528);
    QTest::newRow("no owner: centred") << QRect() << wide << QRect(369, 33, 1180, 1000);
}

void TestAnalysisWindow::placement()
{
    QFETCH(QRect, owner);
    QFETCH(QRect, available);
    QFETCH(QRect, placed);
    QCOMPARE(PlaceBeside(owner, QRect(), available, QMargins(2, 30, 2, 2),
                         {AnalysisForm::PreferredSize, AnalysisForm::SmallestSize}),
             placed);
}

void TestAnalysisWindow::opensInsideTheScreen()
{
    form->show();
    AnalysisForm *window = open();
    QVERIFY(window->screen()->availableGeometry().contains(window->frameGeometry()));
    window->resize(AnalysisForm::SmallestSize);
    QCOMPARE(window->size(), AnalysisForm::SmallestSize);
}

void TestAnalysisWindow::chartLabelsWhole_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("chart");
    QTest::addColumn<QSize>("size");
    for (const QSize size : {AnalysisForm::SmallestSize, QSize(961, 900)}) {
        const QByteArray at =
            QByteArray::number(size.width()) + 'x' + QByteArray::number(size.height());
        QTest::newRow("occurrences, " + at)
            << int(AnalysisForm::SummaryTab) << "ChartOccurrences" << size;
        QTest::newRow("gaps, " + at) << int(AnalysisForm::GapsTab) << "ChartGaps" << size;
    }
}

void TestAnalysisWindow::chartLabelsWhole()
{
    QFETCH(int, page);
    QFETCH(QString, chart);
    QFETCH(QSize, size);
    QStringList spins;
    for (int i = 0; i < 2000; ++i)
        spins << QString::number(i * 7 % 37 == 0 ? 0 : i * 13 % 37);
    form->listBox1->ReplaceText(spins.join(u'\n'));
    AnalysisForm *window = open();
    window->resize(size);
    showPage(window, AnalysisForm::Page(page));
    QTest::qWait(2 * AnalysisForm::RefreshDelay);
    // The charts cut a label that has no room short with "...".
    int labels = 0;
    for (const QGraphicsItem *item : window->findChild<QChartView *>(chart)->scene()->items()) {
        if (const auto *text = qgraphicsitem_cast<const QGraphicsTextItem *>(item)) {
            ++labels;
            QVERIFY2(!text->toPlainText().contains(u"..."_s), qPrintable(text->toPlainText()));
        }
    }
    QVERIFY(labels > 10);
}

void TestAnalysisWindow::tabReachesEveryFigure_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("figures");
    // The verdict's note is hidden while it has nothing to say.
    QTest::newRow("Сводка")
        << int(AnalysisForm::SummaryTab)
        << u"LabelSpins LabelChiSquare LabelChiSquareP LabelVerdict LabelPower "
           "LabelBreakEven LabelHottest LabelHottestP LabelHottestFamilyP "
           "LabelHottestInterval LabelDrought LabelDroughtP LabelDroughtFamilyP "
           "LabelNextSpin LabelAlarmRate TableGroups LabelGroupsMostUnusual "
           "LabelGroupsFamilyP LabelSectorsMostUnusual LabelSectorsFamilyP "
           "ChartOccurrences"_s.split(u' ');
    QTest::newRow("Пропуски") << int(AnalysisForm::GapsTab)
                              << u"TableGaps TableGroupGaps ChartGaps"_s.split(u' ');
    QTest::newRow("Колесо")
        << int(AnalysisForm::WheelTab)
        << u"WheelView ArcWidth LabelHotArc LabelHotArcP LabelHotArcFamilyP"_s.split(u' ');
}

void TestAnalysisWindow::tabReachesEveryFigure()
{
    QFETCH(int, page);
    QFETCH(QStringList, figures);
    form->listBox1->ReplaceText(Lines({5, 17, 5}));
    AnalysisForm *window = open();
    window->resize(AnalysisForm::SmallestSize);
    showPage(window, AnalysisForm::Page(page));
    QVERIFY(QTest::qWaitForWindowActive(window));
    auto *span = window->findChild<QComboBox *>(u"AnalysisSpan"_s);
    span->setFocus();
    const auto *ring = window->findChild<QFocusFrame *>();
    const QColor highlight = window->palette().color(QPalette::Highlight);

    // Round the window from the span once, in the figures' order; each one
    // scrolled into view and ringed in the highlight colour.
    QStringList reached;
    for (int step = 0; step < 40; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *focused = QApplication::focusWidget();
        if (focused == span)
            break;
        if (!figures.contains(focused->objectName()))
            continue;
        reached << focused->objectName();
        const QRect part = ShownPart(focused);
        QVERIFY2(!part.isEmpty(), qPrintable(focused->objectName()));
        QVERIFY(ring && ring->isVisible() && ring->widget() == focused);
        // The ring just outside the widget, on a side the page does not cut.
        const QImage image = window->grab().toImage();
        const QPoint sides[] = {{part.left() - 1, part.center().y()},
                                {part.right() + 1, part.center().y()},
                                {part.center().x(), part.top() - 1}};
        QVERIFY2(std::any_of(std::begin(sides), std::end(sides),
                             [&](QPoint at) { return image.pixelColor(at) == highlight; }),
                 qPrintable(focused->objectName()));
    }
    QCOMPARE(reached, figures);
}

void TestAnalysisWindow::keysClose_data()
{
    QTest::addColumn<QKeySequence>("keys");
    QTest::newRow("Esc") << QKeySequence(Qt::Key_Escape);
    QTest::newRow("Ctrl+W") << QKeySequence(u"Ctrl+W"_s);
    QTest::newRow("the opening shortcut") << QKeySequence(u"Ctrl+Shift+A"_s);
}

void TestAnalysisWindow::keysClose()
{
    QFETCH(QKeySequence, keys);
    form->show();
    AnalysisForm *window = open();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keySequence(QApplication::focusWidget() ? QApplication::focusWidget() : window, keys);
    QVERIFY(!window->isVisible());
    QVERIFY(form->isVisible());
    // The opening shortcut opens it again from the main window.
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    QTest::keySequence(form.get(), form->n27->shortcut());
    QVERIFY(window->isVisible());
}

void TestAnalysisWindow::keysTurnPages_data()
{
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<int>("page"); // from the first, the span focused
    QTest::newRow("Ctrl+Tab") << QKeySequence(u"Ctrl+Tab"_s) << int(AnalysisForm::GapsTab);
    QTest::newRow("Ctrl+PgDown") << QKeySequence(u"Ctrl+PgDown"_s) << int(AnalysisForm::GapsTab);
    QTest::newRow("Ctrl+Shift+Tab")
        << QKeySequence(u"Ctrl+Shift+Tab"_s) << int(AnalysisForm::WheelTab);
    QTest::newRow("Ctrl+PgUp") << QKeySequence(u"Ctrl+PgUp"_s) << int(AnalysisForm::WheelTab);
}

void TestAnalysisWindow::keysTurnPages()
{
    QFETCH(QKeySequence, keys);
    QFETCH(int, page);
    AnalysisForm *window = open();
    QVERIFY(QTest::qWaitForWindowActive(window));
    auto *span = window->findChild<QComboBox *>(u"AnalysisSpan"_s);
    span->setFocus();
    QTest::keySequence(span, keys);
    QCOMPARE(window->findChild<QTabWidget *>(u"AnalysisPages"_s)->currentIndex(), page);
}

void TestAnalysisWindow::accessibleTexts_data()
{
    QTest::addColumn<QString>("history");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("description"); // else the accessible name
    QTest::addColumn<QString>("text");
    const QString counts = CountsExample();
    const int summary = AnalysisForm::SummaryTab, wheel = AnalysisForm::WheelTab;
    QTest::newRow("a chance") << counts << summary << u"LabelChiSquareP"_s << false
                              << u"Шанс такого или большего χ² на честном колесе: 66 %"_s;
    QTest::newRow("a line of its own")
        << counts << summary << u"LabelVerdict"_s << false
        << u"Равномерность (χ², 36 степеней свободы): Отклонений от честного колеса не видно."_s;
    QTest::newRow("the occurrence chart")
        << counts << summary << u"ChartOccurrences"_s << true
        << u"Больше всего выпадений у 17: 25, меньше всего у 3: 0; ожидается 10,1 на число."_s;
    QTest::newRow("the hot arc") << counts << wheel << u"LabelHotArc"_s << false
                                 << u"Самая частая дуга: 2 ±2: 65 (ожидается 50,7)"_s;
    QTest::newRow("the wheel")
        << counts << wheel << u"WheelView"_s << true
        << u"Кольцо: сколько спинов не выпадает каждое число. Дольше всех не выпадает число 3, "
           u"спинов без него: 375; порог сигнализации: 170. Обведена самая частая дуга 2 ±2: 65 "
           u"(ожидается 50,7)."_s;
    QTest::newRow("the gap chart")
        << Lines({0, 5, 0, 17, 5, 5, 0, 32, 17, 0}) << int(AnalysisForm::GapsTab) << u"ChartGaps"_s
        << true
        << u"Красное: пропусков между выпадениями 3. Больше всего при k = 0: 1 (на честном колесе "
           u"1,2). Самый долгий пропуск при k = 2: 1 (на честном колесе 0,5)."_s;
    QTest::newRow("the wheel's legend")
        << counts << wheel << u"WheelLegend"_s << false
        << u"Шкала кольца: тёмно-фиолетовый — 0 спинов, жёлтый — 170 и дольше"_s;
}

void TestAnalysisWindow::accessibleTexts()
{
    QFETCH(QString, history);
    QFETCH(int, page);
    QFETCH(QString, name);
    QFETCH(bool, description);
    QFETCH(QString, text);
    form->listBox1->ReplaceText(history);
    AnalysisForm *window = open();
    showPage(window, AnalysisForm::Page(page));
    auto *widget = window->findChild<QWidget *>(name);
    QVERIFY(widget);
    QAccessibleInterface *node = QAccessible::queryAccessibleInterface(widget);
    QCOMPARE(node->text(description ? QAccessible::Description : QAccessible::Name), text);
}

void TestAnalysisWindow::sectorNamesReadable_data()
{
    QTest::addColumn<QColor>("background");
    QTest::newRow("light") << QColor(0xef, 0xef, 0xef);
    QTest::newRow("white") << QColor(Qt::white);
    QTest::newRow("dark") << QColor(0x30, 0x30, 0x30);
    QTest::newRow("middle grey") << QColor(0x77, 0x77, 0x77);
}

void TestAnalysisWindow::sectorNamesReadable()
{
    QFETCH(QColor, background);
    QCOMPARE(qRound(ContrastRatio(Qt::black, Qt::white)), 21);
    WheelView wheel;
    QPalette palette = wheel.palette();
    palette.setColor(QPalette::Window, background);
    wheel.setPalette(palette);
    wheel.resize(600, 600);
    const QImage image = wheel.grab().toImage();
    // Each name is drawn in its colour in the middle of the wheel, where
    // nothing but the background lies behind it.
    for (int sector = 0; sector < SectorCount; ++sector) {
        const QColor colour = WheelView::SectorCaptionColour(sector, background);
        QVERIFY(ContrastRatio(colour, background) >= 4.5);
        bool drawn = false;
        for (int y = 200; y < 400 && !drawn; ++y)
            for (int x = 200; x < 400 && !drawn; ++x)
                drawn = image.pixel(x, y) == colour.rgb();
        QVERIFY2(drawn, qPrintable(colour.name()));
    }
}
