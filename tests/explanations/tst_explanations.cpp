// What the main window says about its figures: the tooltips of the rows,
// counts, line count and status bar as the history changes, the built-in help
// window, and the ball pictures, which must tell the levels apart without
// their colour.
#include "support/WindowFixture.h"

#include "app/helpwindow/HelpForm.h"
#include "app/mainwindow/FigureTexts.h"
#include "app/mainwindow/Unit1.h"

#include <QApplication>
#include <QHelpEvent>
#include <QImage>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QToolTip>
#include <algorithm>
#include <cmath>

using namespace trevolo;
using namespace Qt::StringLiterals;

namespace {

// Relative luminance of a colour, as the contrast rule defines it.
double Luminance(const QColor &c)
{
    const auto linear = [](double v) {
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

double Contrast(double a, double b)
{
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// The luminance of every opaque pixel of a picture, row by row, seen through
// `see` (a colour as some eye perceives it); -1 where the picture is not
// opaque.
template <typename See>
QList<double> OpaqueLuminance(const QImage &picture, See see)
{
    QList<double> values;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            values.append(c.alpha() == 255 ? Luminance(see(c)) : -1);
        }
    return values;
}

double Median(QList<double> values)
{
    values.removeAll(-1);
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[values.size() / 2];
}

// How different two pictures look once each one's own lightness is taken
// away: the mean difference of the pixels' luminance from the picture's
// median, over the pixels opaque in both. Two balls that differ in colour
// alone come out near 0.
double ShapeDifference(const QList<double> &a, const QList<double> &b)
{
    const double ma = Median(a), mb = Median(b);
    double sum = 0;
    int count = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i] >= 0 && b[i] >= 0) {
            sum += std::abs((a[i] - ma) - (b[i] - mb));
            ++count;
        }
    return count ? sum / count : 0;
}

QColor AsIs(const QColor &c)
{
    return c;
}

// Deuteranopia (Machado, Oliveira and Fernandes 2009, severity 1), applied to
// the colour's linear components.
QColor Deuteranope(const QColor &c)
{
    const auto linear = [](double v) {
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    const auto encoded = [](double v) {
        v = std::clamp(v, 0.0, 1.0);
        return v <= 0.0031308 ? v * 12.92 : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
    };
    const double r = linear(c.redF()), g = linear(c.greenF()), b = linear(c.blueF());
    return QColor::fromRgbF(float(encoded(0.367322 * r + 0.860646 * g - 0.227968 * b)),
                            float(encoded(0.280085 * r + 0.672501 * g + 0.047413 * b)),
                            float(encoded(-0.011820 * r + 0.042940 * g + 0.968881 * b)));
}

} // namespace

class TestExplanations : public QObject, private WindowFixture
{
    Q_OBJECT

private:
    // What hovering over the control shows, asked the way the desktop asks.
    QString hover(const QString &name)
    {
        auto *widget = form->FindComponentAs<QWidget>(name);
        if (!widget)
            return u"<no %1>"_s.arg(name);
        // To whatever lies under the point, as the desktop sends it (the
        // status bar's text is a label of its own).
        const QPoint point(6, widget->height() / 2);
        QWidget *under = widget->childAt(point) ? widget->childAt(point) : widget;
        const QPoint inside = under->mapFrom(widget, point);
        QHelpEvent event(QEvent::ToolTip, inside, under->mapToGlobal(inside));
        QApplication::sendEvent(under, &event);
        return QToolTip::isVisible() ? QToolTip::text() : u"<no tooltip>"_s;
    }

private Q_SLOTS:
    void init()
    {
        createAll();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    void cleanup()
    {
        QToolTip::hideText();
        destroyAll();
    }

    void toolTipsFollowTheHistory_data();
    void toolTipsFollowTheHistory();
    void shownToolTipFollowsEachPass();
    void legendFollowsTheBoundaries_data();
    void legendFollowsTheBoundaries();
    void helpWindow_data();
    void helpWindow();
    void ballsDifferBeyondColour();
};

// ------------------------------------------------------------------ tooltips

void TestExplanations::toolTipsFollowTheHistory_data()
{
    QTest::addColumn<QString>("history");
    QTest::addColumn<QString>("threshold");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QStringList>("says");

    QTest::newRow("row caption, three misses")
        << u"2\n4\n6\n"_s << u"170"_s << u"Label5"_s
        << QStringList{u"Красное — красные числа (18 из 37, зеро не входит)."_s,
                       u"Не выпадает 3 спина подряд."_s,
                       u"Шанс такой паузы на честном колесе: (19/37)³ = 14 %."_s,
                       u"Цвета шаров при уровне риска «Средний» (границы 2 и 8):"_s,
                       u"• серый, без знака — пауза 1–2 спина, шанс от 51 % до 26 %"_s,
                       u"• жёлтый со знаком «!» — пауза 3–8 спинов, шанс от 14 % до 0,48 %"_s,
                       u"• зелёный с галочкой ✓ — пауза 9 спинов и больше, шанс 0,25 % и меньше"_s,
                       u"выпадет в следующем спине: он всегда 18/37."_s};
    QTest::newRow("ball, beyond ten")
        << QString(u"0\n"_s).repeated(14) << u"170"_s << u"Im_1_10"_s
        << QStringList{u"Не выпадает 14 спинов подряд (шаров в ряду не больше 10)."_s,
                       u"(19/37)¹⁴ = 0,0089 %."_s, u"Этот шар — 10-й: зелёный с галочкой ✓."_s};
    QTest::newRow("dozen, one miss")
        << u"13\n"_s << u"170"_s << u"Im_7_1"_s
        << QStringList{u"1-12 — первая дюжина, 1–12 (12 из 37, зеро не входит)."_s,
                       u"Не выпадает 1 спин подряд."_s, u"(25/37)¹ = 68 %."_s,
                       u"Этот шар — 1-й: серый, без знака."_s, u"он всегда 12/37."_s};
    QTest::newRow("row just hit") << u"7\n"_s << u"170"_s << u"Label5"_s
                                  << QStringList{u"Выпало в последнем спине, шаров нет."_s};
    QTest::newRow("absence over the threshold")
        << u"5\n0\n32\n"_s << u"3"_s << u"Label81"_s
        << QStringList{u"Число 1, красное."_s, u"Не выпадало ни разу: 3 спина."_s,
                       u"Это не меньше порога «Сигнализировать от» (3): число за порогом, "
                       u"поэтому выделено жирным."_s,
                       u"Выпало 0 раз за 3 спина; на честном колесе в среднем 0,1 (3/37)."_s};
    QTest::newRow("occurrence of zero")
        << u"5\n0\n32\n"_s << u"170"_s << u"Label147"_s
        << QStringList{u"Зеро (0)."_s, u"Не выпадает 1 спин."_s, u"Выпало 1 раз за 3 спина"_s};
    QTest::newRow("just came up") << u"5\n0\n32\n"_s << u"0"_s << u"Label112"_s
                                  << QStringList{u"Число 32, красное."_s,
                                                 u"Выпало в последнем спине."_s,
                                                 u"число за порогом"_s};
    QTest::newRow("line count")
        << u"5\nabc\n7\n"_s << u"170"_s << u"Edit13"_s
        << QStringList{u"Строк в последовательности: 3; из них спинов (чисел от 0 до 36): 2."_s,
                       u"Остальные строки в подсчётах не участвуют."_s};
    QTest::newRow("status bar") << u"5\n"_s << u"40"_s << u"StatusBar1"_s
                                << QStringList{u"«Ближайшее число»"_s,
                                               u"«Сигнализировать от» (сейчас 40)"_s, u"1/37"_s};
}

void TestExplanations::toolTipsFollowTheHistory()
{
    QFETCH(QString, history);
    QFETCH(QString, threshold);
    QFETCH(QString, control);
    QFETCH(QStringList, says);

    form->edit1->setText(threshold);
    form->listBox1->ReplaceText(history);
    form->pageControl1->SetActivePageIndex(control.startsWith(u"Label8"_s) ? 1
                                           : control == u"Label147"_s      ? 2
                                           : control == u"Label112"_s      ? 1
                                                                           : 0);
    const QString tip = hover(control);
    for (const QString &part : says)
        QVERIFY2(tip.contains(part), qPrintable(tip + u"\n--- lacks ---\n"_s + part));
    // Nothing is written ahead: the text is made when asked for.
    QVERIFY(form->FindComponentAs<QWidget>(control)->toolTip().isEmpty());
}

void TestExplanations::shownToolTipFollowsEachPass()
{
    form->listBox1->ReplaceText(u"2\n"_s);
    QVERIFY(hover(u"Label5"_s).contains(u"Не выпадает 1 спин подряд."_s));
    // A pass while it shows brings it up to date...
    form->listBox1->AppendLine(u"4"_s);
    QVERIFY(QToolTip::isVisible());
    QVERIFY2(QToolTip::text().contains(u"Не выпадает 2 спина подряд."_s),
             qPrintable(QToolTip::text()));
    // ...and one that hides the ball under it takes it away.
    QVERIFY(hover(u"Im_1_2"_s).contains(u"Этот шар — 2-й"_s));
    form->listBox1->AppendLine(u"1"_s);
    QTRY_VERIFY(!QToolTip::isVisible());
}

// The legend of the colours at the edges of the boundaries.
void TestExplanations::legendFollowsTheBoundaries_data()
{
    QTest::addColumn<int>("lower");
    QTest::addColumn<int>("upper");
    QTest::addColumn<QString>("preset");
    QTest::addColumn<QStringList>("says");

    QTest::newRow("no grey") << 0 << 8 << u""_s
                             << QStringList{u"Цвета шаров (границы 0 и 8):"_s,
                                            u"• серых шаров нет (нижняя граница 0)"_s,
                                            u"— пауза 1–8 спинов, шанс от 51 % до 0,48 %"_s};
    QTest::newRow("no yellow") << 4 << 4 << u"Низкий"_s
                               << QStringList{u"при уровне риска «Низкий» (границы 4 и 4)"_s,
                                              u"• жёлтых шаров нет (границы равны)"_s,
                                              u"— пауза 5 спинов и больше, шанс 3,6 % и меньше"_s};
    QTest::newRow("no green, one grey")
        << 1 << 10 << u"Высокий"_s
        << QStringList{u"• серый, без знака — пауза 1 спин, шанс 51 %"_s,
                       u"• зелёных шаров нет (верхняя граница 10)"_s};
}

void TestExplanations::legendFollowsTheBoundaries()
{
    QFETCH(int, lower);
    QFETCH(int, upper);
    QFETCH(QString, preset);
    QFETCH(QStringList, says);
    RowFacts facts;
    facts.group = 1;
    facts.run = 5;
    facts.spins = 5;
    facts.lower = lower;
    facts.upper = upper;
    facts.preset = preset;
    const QString tip = RowToolTip(facts);
    for (const QString &part : says)
        QVERIFY2(tip.contains(part), qPrintable(tip + u"\n--- lacks ---\n"_s + part));

    // The window's own rows follow its sliders and preset the same way.
    form->comboBox1->SetItemIndex(preset == u"Низкий"_s ? 0 : preset == u"Высокий"_s ? 2 : -1);
    form->trackBar3->SetPosition(10);
    form->trackBar2->SetPosition(lower);
    form->trackBar3->SetPosition(upper);
    form->listBox1->ReplaceText(u"2\n4\n6\n8\n10\n"_s);
    QCOMPARE(hover(u"Label5"_s), tip);
}

// --------------------------------------------------------------------- help

void TestExplanations::helpWindow_data()
{
    QTest::addColumn<QString>("topic");
    // Each page of the main window, the balls, the risk levels, the
    // calculator, the analysis window's chances and pages, the pad and the
    // files.
    for (const char16_t *topic :
         {u"Страница «Комбинации»", u"Страница «Не выпадения»", u"Страница «Выпадения»",
          u"Страница «Настройки»", u"Страница «Калькулятор»", u"жёлтый со знаком «!»",
          u"зелёный с галочкой ✓", u"Уровни риска", u"«Сигнализировать от»",
          u"Шанс для числа, выбранного заранее", u"Шанс хотя бы для одного из 37",
          u"Страница «Пропуски»", u"Страница «Колесо»", u"Над страницами «Период»",
          u"Никакая пауза и никакой перекос в прошлом не меняют шанс следующего спина",
          u"Окно «Проверка системы»", u"Разорение — банк меньше первой ставки",
          u"Сессия начинается с начального банка", u"ни одна система не обыгрывает колесо",
          u"Панель ввода", u"~/.config/trevolo/default.ini", u"$XDG_STATE_HOME/trevolo",
          u"~/.local/state/trevolo"})
        QTest::newRow(QString::fromUtf16(topic).toUtf8().constData()) << QString::fromUtf16(topic);
}

void TestExplanations::helpWindow()
{
    QFETCH(QString, topic);
    QVERIFY(!form->helpForm());
    form->n30->trigger();
    HelpForm *help = form->helpForm();
    QVERIFY(help);
    QVERIFY(help->isVisible());
    QCOMPARE(help->objectName(), u"HelpForm"_s);
    QCOMPARE(help->windowTitle(), u"Как читать показатели"_s);
    QVERIFY(help->isWindow());
    QCOMPARE(help->windowModality(), Qt::NonModal);
    // From the resources, whatever the network.
    QCOMPARE(help->browser()->source(), QUrl(HelpForm::Source()));
    const QString text = help->browser()->toPlainText();
    QVERIFY2(text.contains(topic), qPrintable(topic));

    // Every link of the contents leads to a place in the text.
    const QString html = help->browser()->toHtml();
    const QRegularExpression link(u"href=\"#([a-z]+)\""_s);
    int links = 0;
    for (const auto &match : link.globalMatch(html)) {
        ++links;
        QVERIFY2(html.contains(u"name=\"%1\""_s.arg(match.captured(1))),
                 qPrintable(match.captured(1)));
    }
    QVERIFY(links >= 12);
    // The balls it shows are the program's own pictures.
    const QRegularExpression image(u"<img src=\"([^\"]+)\""_s);
    int images = 0;
    for (const auto &match : image.globalMatch(html)) {
        ++images;
        const QVariant loaded =
            help->browser()->loadResource(QTextDocument::ImageResource, QUrl(match.captured(1)));
        QVERIFY2(!loaded.isNull(), qPrintable(match.captured(1)));
    }
    QCOMPARE(images, 3);
    // A second F1 from the main window raises the same window.
    form->n30->trigger();
    QCOMPARE(form->helpForm(), help);
}

// -------------------------------------------------------------------- balls

void TestExplanations::ballsDifferBeyondColour()
{
    const QColor page = QApplication::palette().color(QPalette::Window);
    for (const QString &size : {u""_s, u"@2x"_s}) {
        const auto load = [&](const char16_t *name) {
            return QImage(u":/app/pictures/"_s + QString::fromUtf16(name) + size + u".png"_s)
                .convertToFormat(QImage::Format_ARGB32);
        };
        const QImage grey = load(u"grey"), yellow = load(u"yellow"), green = load(u"green");
        QVERIFY(!grey.isNull() && !yellow.isNull() && !green.isNull());

        // Yellow and green stand out against the page (and against white).
        for (const QImage *ball : {&yellow, &green}) {
            const double body = Median(OpaqueLuminance(*ball, AsIs));
            QVERIFY2(Contrast(body, Luminance(page)) >= 3.0, qPrintable(size));
            QVERIFY2(Contrast(body, 1.0) >= 3.0, qPrintable(size));
        }
        // Their shapes differ once lightness and hue are taken away, to any
        // eye and in greyscale alike.
        for (const auto see : {AsIs, Deuteranope}) {
            const QList<double> g = OpaqueLuminance(grey, see), y = OpaqueLuminance(yellow, see),
                                n = OpaqueLuminance(green, see);
            QVERIFY2(ShapeDifference(g, y) > 0.08, qPrintable(size));
            QVERIFY2(ShapeDifference(g, n) > 0.08, qPrintable(size));
            QVERIFY2(ShapeDifference(y, n) > 0.08, qPrintable(size));
        }
    }
}

QTEST_MAIN(TestExplanations)
#include "tst_explanations.moc"
