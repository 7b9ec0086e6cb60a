#include "app/mainwindow/FigureTexts.h"

#include "analysis/Chances.h"
#include "app/mainwindow/ControlNames.h"
#include "common/RussianPlural.h"

#include <QStringList>
#include <algorithm>

namespace trevolo {

using namespace Qt::StringLiterals;

namespace {

// What each combination holds, by group 1..12.
constexpr const char16_t *CombinationMembers[CombinationCount] = {
    u"красные числа",
    u"чёрные числа",
    u"чётные числа 2, 4, …, 36",
    u"нечётные числа 1, 3, …, 35",
    u"числа 1–18",
    u"числа 19–36",
    u"первая дюжина, 1–12",
    u"вторая дюжина, 13–24",
    u"третья дюжина, 25–36",
    u"первая колонка: 1, 4, 7, …, 34",
    u"вторая колонка: 2, 5, 8, …, 35",
    u"третья колонка: 3, 6, 9, …, 36",
};

QString Spins(qint64 count)
{
    return Counted(count, u"спин", u"спина", u"спинов");
}

// 3 -> "³": the exponent of a power written in the line.
QString Superscript(qint64 value)
{
    constexpr char16_t Digits[] = u"⁰¹²³⁴⁵⁶⁷⁸⁹";
    QString text;
    for (const QChar digit : QString::number(value))
        text += QChar(Digits[digit.unicode() - u'0']);
    return text;
}

// The colour with the mark its ball carries, as the legend names it.
QString MarkedColour(IndicatorPicture picture)
{
    switch (picture) {
    case IndicatorPicture::Grey:
        return QStringLiteral("серый, без знака");
    case IndicatorPicture::Yellow:
        return QStringLiteral("жёлтый со знаком «!»");
    case IndicatorPicture::Green:
        return QStringLiteral("зелёный с галочкой ✓");
    }
    return QString();
}

// One line of the legend: the colour of the levels first..last (last < 0:
// first and every longer run), with the runs and their chances.
QString LegendLine(IndicatorPicture picture, int first, int last, int size)
{
    const QString colour = u"• "_s + MarkedColour(picture) + u" — "_s;
    const QString from = FormatChance(MissChance(size, first));
    if (last < 0)
        return colour + u"пауза "_s + Spins(first) + u" и больше, шанс "_s + from + u" и меньше"_s;
    if (first == last)
        return colour + u"пауза "_s + Spins(first) + u", шанс "_s + from;
    return colour + QStringLiteral("пауза %1–%2, шанс от %3 до %4")
                        .arg(first)
                        .arg(Spins(last), from, FormatChance(MissChance(size, last)));
}

} // namespace

QString PictureColourName(IndicatorPicture picture)
{
    switch (picture) {
    case IndicatorPicture::Grey:
        return QStringLiteral("серый");
    case IndicatorPicture::Yellow:
        return QStringLiteral("жёлтый");
    case IndicatorPicture::Green:
        return QStringLiteral("зелёный");
    }
    return QString();
}

QString RowSpoken(const QString &caption, qint64 run, std::optional<IndicatorPicture> level)
{
    const QString state = level ? u"уровень "_s + PictureColourName(*level) : u"шаров нет"_s;
    return caption + u": не выпадает "_s + Spins(run) + u", "_s + state;
}

QString BallSpoken(const QString &caption, int level, IndicatorPicture picture)
{
    return caption + u", "_s + Spins(level) + u" подряд, уровень "_s + PictureColourName(picture);
}

QString CountSpoken(const QString &number, const QString &count, bool occurrence)
{
    bool whole = false;
    const qint64 value = count.toLongLong(&whole);
    if (!whole)
        return number + u": "_s + count;
    return number + (occurrence ? u": выпало "_s + Counted(value, u"раз", u"раза", u"раз")
                                : u": не выпадает "_s + Spins(value));
}

QString RowToolTip(const RowFacts &facts)
{
    const int size = facts.group < FirstTwelveOf37 ? 18 : 12;
    const QString odds = QStringLiteral("%1/37").arg(size);
    QStringList lines;
    lines << CombinationCaption(facts.group) + u" — "_s +
                 QString::fromUtf16(CombinationMembers[facts.group - 1]) +
                 QStringLiteral(" (%1 из 37, зеро не входит).").arg(size);

    if (facts.spins == 0) {
        lines << QStringLiteral("Спинов ещё нет.");
    } else if (facts.run == 0) {
        lines << QStringLiteral("Выпало в последнем спине, шаров нет.");
    } else {
        QString run = u"Не выпадает "_s + Spins(facts.run) + u" подряд"_s;
        if (facts.run > IndicatorLevels)
            run += QStringLiteral(" (шаров в ряду не больше %1)").arg(IndicatorLevels);
        lines << run + u'.';
        lines << QStringLiteral("Шанс такой паузы на честном колесе: (%1/37)%2 = %3.")
                     .arg(WheelSize - size)
                     .arg(Superscript(facts.run), FormatChance(MissChance(size, facts.run)));
    }
    if (facts.ball > 0)
        lines << QStringLiteral("Этот шар — %1-й: %2.")
                     .arg(facts.ball)
                     .arg(MarkedColour(PictureForLevel(facts.ball, facts.lower, facts.upper)));

    const QString bounds = QStringLiteral("границы %1 и %2").arg(facts.lower).arg(facts.upper);
    lines << (facts.preset.isEmpty() ? u"Цвета шаров ("_s + bounds + u"):"_s
                                     : u"Цвета шаров при уровне риска «"_s + facts.preset +
                                           u"» ("_s + bounds + u"):"_s);
    const int lower = std::clamp(facts.lower, 0, IndicatorLevels);
    const int upper = std::clamp(facts.upper, lower, IndicatorLevels);
    lines << (lower > 0 ? LegendLine(IndicatorPicture::Grey, 1, lower, size)
                        : QStringLiteral("• серых шаров нет (нижняя граница 0)"));
    lines << (upper > lower ? LegendLine(IndicatorPicture::Yellow, lower + 1, upper, size)
                            : QStringLiteral("• жёлтых шаров нет (границы равны)"));
    lines
        << (upper < IndicatorLevels
                ? LegendLine(IndicatorPicture::Green, upper + 1, -1, size)
                : QStringLiteral("• зелёных шаров нет (верхняя граница %1)").arg(IndicatorLevels));
    lines << u"Пауза не меняет шанс, что комбинация выпадет в следующем спине: он всегда "_s +
                 odds + u'.';
    return lines.join(u'\n');
}

QString CountToolTip(int number, const HistoryStatistics &statistics)
{
    QStringList lines;
    lines << (number == 0 ? QStringLiteral("Зеро (0).")
                          : QStringLiteral("Число %1, %2.")
                                .arg(number)
                                .arg(IsRed(number) ? u"красное"_s : u"чёрное"_s));
    const qint64 spins = statistics.spinCount;
    if (spins == 0) {
        lines << QStringLiteral("Спинов ещё нет.");
        return lines.join(u'\n');
    }
    const qint32 absence = statistics.absence[size_t(number)];
    const qint32 occurrence = statistics.occurrence[size_t(number)];
    if (occurrence == 0)
        lines << u"Не выпадало ни разу: "_s + Spins(absence) + u'.';
    else if (absence == 0)
        lines << QStringLiteral("Выпало в последнем спине.");
    else
        lines << u"Не выпадает "_s + Spins(absence) + u'.';
    if (statistics.thresholdValid && statistics.alarm[size_t(number)])
        lines << QStringLiteral("Это не меньше порога «Сигнализировать от» (%1): "
                                "число за порогом, поэтому выделено жирным.")
                     .arg(statistics.threshold);
    lines << u"Выпало "_s + Counted(occurrence, u"раз", u"раза", u"раз") + u" за "_s +
                 Spins(spins) +
                 QStringLiteral("; на честном колесе в среднем %1 (%2/37).")
                     .arg(FormatDecimal(double(spins) / WheelSize, 1))
                     .arg(spins);
    lines << QStringLiteral("Прошлые спины не меняют шанс следующего: он всегда 1/37.");
    return lines.join(u'\n');
}

QString LinesToolTip(const HistoryStatistics &statistics)
{
    QString text = QStringLiteral("Строк в последовательности: %1; из них спинов "
                                  "(чисел от 0 до 36): %2.")
                       .arg(statistics.lineCount)
                       .arg(statistics.spinCount);
    if (statistics.spinCount < statistics.lineCount)
        text += QStringLiteral("\nОстальные строки в подсчётах не участвуют.");
    return text;
}

QString NearestToolTip(const HistoryStatistics &statistics)
{
    const QString threshold = statistics.thresholdValid
                                  ? QStringLiteral(" (сейчас %1)").arg(statistics.threshold)
                                  : QString();
    return u"«Ближайшее число» — до пяти чисел, которые не выпадают дольше всех и\n"_s
           u"уже достигли порога «Сигнализировать от»" +
           threshold +
           u", самые долгие первыми;\n"_s
           u"в скобках — сколько спинов подряд число не выпадает.\n"
           u"Пусто, пока порога не достигло ни одно число.\n"
           u"Паузы не меняют шанс следующего спина: у каждого числа он 1/37.";
}

} // namespace trevolo
