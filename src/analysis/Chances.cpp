#include "analysis/Chances.h"

#include "common/IntegerText.h"

#include <boost/math/distributions/binomial.hpp>
#include <boost/math/distributions/chi_squared.hpp>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <map>
#include <mutex>
#include <numeric>

namespace trevolo {

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double DetectionPower = 0.8;

// The distributions answer NaN or a limit rather than throw: the figures are
// computed inside a window's refresh, where no exception may escape.
using namespace boost::math::policies;
using Quiet = policy<domain_error<ignore_error>, pole_error<ignore_error>,
                     overflow_error<ignore_error>, evaluation_error<ignore_error>>;

constexpr NumberSet setOf(std::initializer_list<int> numbers)
{
    NumberSet set = 0;
    for (const int n : numbers)
        set |= NumberSet(1) << n;
    return set;
}

// Below this many spins the chain over distinct counts is cheap; from it on
// the inclusion-exclusion terms fall so fast that their sum no longer
// cancels.
constexpr qint64 ChainLimit = 150;

// The chance that `spins` draws miss at least one number: the draws walk a
// chain over how many distinct numbers they hold, and every state but "all
// 37" counts. A sum of positive terms, exact and stable for every length.
double missingByChain(qint64 spins)
{
    // stay[d]: the next draw repeats one of d numbers; move[d]: it brings a
    // new number to d - 1 distinct ones.
    std::array<double, WheelSize + 1> stay{}, move{};
    for (int d = 1; d <= WheelSize; ++d) {
        stay[d] = double(d) / WheelSize;
        move[d] = double(WheelSize + 1 - d) / WheelSize;
    }
    std::array<double, WheelSize + 1> held{};
    held[0] = 1;
    for (qint64 j = 0; j < spins; ++j) {
        for (int d = WheelSize; d >= 1; --d)
            held[d] = held[d] * stay[d] + held[d - 1] * move[d];
        held[0] = 0;
    }
    return std::accumulate(held.begin(), held.end() - 1, 0.0);
}

// The same by inclusion-exclusion over how many numbers are missing.
double missingByTerms(qint64 spins)
{
    double sum = 0;
    double logBinomial = 0; // log C(37, k)
    for (int k = 1; k < WheelSize; ++k) {
        logBinomial += std::log(double(WheelSize + 1 - k) / k);
        const double term =
            std::exp(logBinomial + double(spins) * std::log(double(WheelSize - k) / WheelSize));
        sum += k % 2 == 1 ? term : -term;
    }
    return std::clamp(sum, 0.0, 1.0);
}

// Wide enough for 37 times the sum of the squared counts of any history.
__extension__ using Wide = __int128;

// whole + remainder / denominator (0 <= remainder < denominator) with that
// many decimals, rounded half up.
QString roundedText(qint64 whole, qint64 remainder, qint64 denominator, int decimals)
{
    qint64 scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    // floor(remainder * scale / denominator + 1/2), which may carry into whole.
    qint64 fraction = qint64((Wide(remainder) * scale * 2 + denominator) / (Wide(denominator) * 2));
    if (fraction == scale) {
        ++whole;
        fraction = 0;
    }
    QString text = QString::number(whole);
    if (decimals > 0)
        text += u',' + QString::number(fraction).rightJustified(decimals, u'0');
    return text;
}

// A chance in percent with two significant digits, no sign: round first,
// then count the decimals of the rounded value, so 9,96 reads "10" and not
// "10,0".
QString percentDigits(double chance)
{
    const double percent = chance * 100;
    if (!(percent > 0))
        return QStringLiteral("0");
    const int magnitude = int(std::floor(std::log10(percent)));
    const double step = std::pow(10.0, magnitude - 1);
    const double rounded = std::round(percent / step) * step;
    const int decimals = std::max(0, 1 - int(std::floor(std::log10(rounded))));
    return FormatDecimal(rounded, decimals);
}

// The smallest t with ((37 - size) / 37)^t <= chance, for a chance that is
// itself ((37 - ownSize) / 37)^ownRun.
qint64 spanFor(int size, int ownSize, qint32 ownRun)
{
    if (ownRun <= 0)
        return 0;
    if (size == ownSize)
        return ownRun;
    const long double ratio = std::log((long double)(WheelSize - ownSize) / WheelSize) /
                              std::log((long double)(WheelSize - size) / WheelSize);
    return qint64(std::ceil(ownRun * ratio));
}

} // namespace

const std::array<Sector, SectorCount> Sectors = {{
    {u"Соседи зеро", setOf({0, 2, 3, 4, 7, 12, 15, 18, 19, 21, 22, 25, 26, 28, 29, 32, 35})},
    {u"Треть", setOf({5, 8, 10, 11, 13, 16, 23, 24, 27, 30, 33, 36})},
    {u"Сироты", setOf({1, 6, 9, 14, 17, 20, 31, 34})},
    {u"Игра в зеро", setOf({0, 3, 12, 15, 26, 32, 35})},
}};

NumberSet GroupMembers(int row)
{
    static const std::array<NumberSet, GroupRowCount> table = [] {
        std::array<NumberSet, GroupRowCount> t{};
        for (int n = 1; n < WheelSize; ++n)
            for (int g = 1; g <= CombinationCount; ++g)
                if (CombinationsOf(n) >> g & 1u)
                    t[g - 1] |= NumberSet(1) << n;
        for (int s = 0; s < SectorCount; ++s)
            t[CombinationCount + s] = Sectors[s].members;
        return t;
    }();
    return table[row];
}

double ChiSquareStatistic(const std::array<qint32, WheelSize> &counts)
{
    Wide spins = 0, squares = 0;
    for (const qint32 c : counts) {
        spins += c;
        squares += Wide(c) * c;
    }
    if (spins <= 0)
        return 0;
    return double(WheelSize * squares - spins * spins) / double(spins);
}

QString ChiSquareText(const std::array<qint32, WheelSize> &counts)
{
    Wide spins = 0, squares = 0;
    for (const qint32 c : counts) {
        spins += c;
        squares += Wide(c) * c;
    }
    if (spins <= 0)
        return NoFigure();
    // The statistic is at most 36 n: its whole part fits.
    const Wide numerator = WheelSize * squares - spins * spins;
    return roundedText(qint64(numerator / spins), qint64(numerator % spins), qint64(spins), 2);
}

double ChiSquareUpperTail(double statistic, int degrees)
{
    if (!(statistic > 0))
        return 1;
    return boost::math::cdf(boost::math::complement(
        boost::math::chi_squared_distribution<double, Quiet>(degrees), statistic));
}

double ChiSquareLowerTail(double statistic, int degrees)
{
    if (!(statistic > 0))
        return 0;
    return boost::math::cdf(boost::math::chi_squared_distribution<double, Quiet>(degrees),
                            statistic);
}

double BinomialUpperTail(qint64 trials, double chance, qint64 atLeast)
{
    if (atLeast <= 0)
        return 1;
    if (atLeast > trials)
        return 0;
    const boost::math::binomial_distribution<double, Quiet> distribution(double(trials), chance);
    return boost::math::cdf(boost::math::complement(distribution, double(atLeast - 1)));
}

double AnyOfChance(double chance, int members)
{
    if (chance >= 1)
        return 1;
    return -std::expm1(members * std::log1p(-chance));
}

double MissChance(int size, qint64 spins)
{
    if (spins <= 0)
        return 1;
    return std::exp(double(spins) * std::log(double(WheelSize - size) / WheelSize));
}

double AnyNumberMissingChance(qint64 spins)
{
    if (spins <= 0)
        return 1;
    return spins < ChainLimit ? missingByChain(spins) : missingByTerms(spins);
}

double AnyGroupMissingChance(std::span<const NumberSet> groups, std::span<const qint64> spans)
{
    constexpr int MaxGroups = 16;
    const int count = int(std::min<std::size_t>(groups.size(), MaxGroups));
    // Groups by span, shortest first. A subset then differs from the subset
    // without its first member only over that member's span: there the spins
    // must also avoid that member's numbers.
    std::array<int, MaxGroups> order{};
    std::iota(order.begin(), order.begin() + count, 0);
    std::stable_sort(order.begin(), order.begin() + count,
                     [&](int a, int b) { return spans[a] < spans[b]; });

    const auto freeCount = [](NumberSet set) { return WheelSize - std::popcount(set); };

    // Over a span the chance shrinks by (free after / free before)^span. The
    // groups share few spans and the counts few pairs, so each power is
    // worked out once, on first use.
    constexpr int Counts = WheelSize + 1;
    struct Powers
    {
        qint64 span;
        std::array<double, Counts * Counts> ratio; // NaN until needed
    };
    std::vector<Powers> powers;
    powers.reserve(count);
    std::array<Powers *, MaxGroups> powersOf{};
    for (int i = 0; i < count; ++i) {
        const qint64 span = spans[order[i]];
        if (powers.empty() || powers.back().span != span) {
            powers.push_back({span, {}});
            powers.back().ratio.fill(std::numeric_limits<double>::quiet_NaN());
        }
        powersOf[i] = &powers.back();
    }

    // Per subset: the chance, the numbers its groups cover, how many numbers
    // they leave free, and +1 or -1 for an odd or even number of groups.
    const std::size_t subsets = std::size_t(1) << count;
    std::vector<double> chance(subsets), sign(subsets);
    std::vector<NumberSet> covered(subsets);
    std::vector<quint8> free(subsets);
    chance[0] = 1;
    sign[0] = -1;
    free[0] = WheelSize;
    double sum = 0;
    for (std::size_t s = 1; s < subsets; ++s) {
        const int first = std::countr_zero(s);
        const std::size_t rest = s & (s - 1);
        covered[s] = covered[rest] | groups[order[first]];
        free[s] = quint8(freeCount(covered[s]));
        sign[s] = -sign[rest];
        Powers &p = *powersOf[first];
        if (chance[rest] == 0 || p.span <= 0) {
            chance[s] = chance[rest];
        } else {
            // The rest left at least one number free over this span, or its
            // chance would be 0.
            double &ratio = p.ratio[free[s] * Counts + free[rest]];
            if (std::isnan(ratio))
                ratio = std::pow(double(free[s]) / free[rest], double(p.span));
            chance[s] = chance[rest] * ratio;
        }
        sum += sign[s] * chance[s];
    }
    return std::clamp(sum, 0.0, 1.0);
}

FamilyFigures MostUnusual(std::span<const int> rows, const std::array<qint32, GroupRowCount> &runs,
                          const std::array<double, GroupRowCount> &chances, qint64 spins)
{
    FamilyFigures figures;
    if (rows.empty())
        return figures;
    // Compared as logarithms, which do not run out of range as the chances do.
    const auto size = [](int row) { return std::popcount(GroupMembers(row)); };
    const auto logChance = [&](int row) {
        return runs[row] * std::log(double(WheelSize - size(row)) / WheelSize);
    };
    figures.row = rows.front();
    for (const int row : rows)
        if (logChance(row) < logChance(figures.row))
            figures.row = row;
    figures.chance = chances[figures.row];

    std::array<NumberSet, GroupRowCount> groups{};
    std::array<qint64, GroupRowCount> spans{};
    std::size_t count = 0;
    for (const int row : rows) {
        const qint64 span = spanFor(size(row), size(figures.row), runs[figures.row]);
        if (span > spins)
            continue;
        groups[count] = GroupMembers(row);
        spans[count++] = span;
    }
    figures.familyChance =
        AnyGroupMissingChance(std::span(groups).first(count), std::span(spans).first(count));
    return figures;
}

QString BiasVerdictText(BiasVerdict verdict)
{
    switch (verdict) {
    case BiasVerdict::TooFewSpins:
        return QStringLiteral("Слишком мало спинов для проверки: нужно не меньше 185.");
    case BiasVerdict::Uneven:
        return QStringLiteral("Отклонение от равномерного статистически значимо (p < 1 %).");
    case BiasVerdict::TooEven:
        return QStringLiteral(
            "Распределение слишком равномерное для случайного колеса (шанс такого или "
            "меньшего χ² < 1 %).");
    case BiasVerdict::Fair:
        break;
    }
    return QStringLiteral("Отклонений от честного колеса не видно.");
}

// tools/verdict-ever.py 8000 26: 8000 fair histories, each share within
// about 1 point (95 %).
const std::array<VerdictEverBand, 7> VerdictEverBands = {{
    {300, 0.087},
    {500, 0.143},
    {1000, 0.208},
    {2000, 0.270},
    {5000, 0.348},
    {10000, 0.403},
    {20000, 0.451},
}};

const VerdictEverBand &VerdictEverShare(qint64 spins)
{
    for (const VerdictEverBand &band : VerdictEverBands)
        if (spins <= band.spins)
            return band;
    return VerdictEverBands.back();
}

QString BiasVerdictNote(BiasVerdict verdict, qint64 spins)
{
    if (verdict != BiasVerdict::Uneven && verdict != BiasVerdict::TooEven)
        return {};
    const VerdictEverBand &band = VerdictEverShare(spins);
    return QStringLiteral("Проверка повторяется после каждого спина, поэтому на честном колесе "
                          "такой сигнал иногда появляется случайно: если смотреть после каждого "
                          "спина, к %1 спинам он хоть раз появляется %2 в %3 историй.")
        .arg(IntToStr(band.spins),
             spins > band.spins ? QStringLiteral("уже") : QStringLiteral("примерно"),
             percentDigits(band.share) + QStringLiteral(" %"));
}

double BiasTestPower(qint64 spins, double p)
{
    if (spins < 1 || !(p >= 0 && p <= 1))
        return NaN;
    static const double critical = boost::math::quantile(boost::math::complement(
        boost::math::chi_squared_distribution<double, Quiet>(WheelSize - 1), BiasTestLevel));
    const boost::math::chi_squared_distribution<double, Quiet> rest(WheelSize - 2);
    // With a spins of the one number, the statistic reaches the critical
    // value when the squares of the other counts sum to at least
    // (critical + n) n / 37 - a^2; over their m = n - a spins that is their
    // own statistic 36 S / m - m reaching the bound below.
    const double n = double(spins);
    const double squares = (critical + n) * n / WheelSize;
    const auto reached = [&](double a) {
        const double m = n - a;
        const double needed = squares - a * a;
        if (needed <= 0)
            return 1.0;
        if (m <= 0)
            return 0.0;
        const double bound = (WheelSize - 1) * needed / m - m;
        return bound <= 0 ? 1.0 : double(boost::math::cdf(boost::math::complement(rest, bound)));
    };
    // The count a of the one number is binomial. Summed count by count where
    // it takes at most a few hundred values; beyond, over about 400 evenly
    // spaced counts, each standing for its step (the terms are smooth there).
    const double mean = n * p, spread = std::sqrt(n * p * (1 - p));
    const double low = std::max(0.0, std::floor(mean - 9 * spread - 1));
    const double high = std::min(n, std::ceil(mean + 9 * spread + 1));
    const double step = std::max(1.0, std::floor((high - low) / 400));
    const double logP = std::log(p), logQ = std::log1p(-p), logAll = std::lgamma(n + 1);
    double power = 0;
    for (double a = low; a <= high; a += step) {
        const double weight = std::exp(logAll - std::lgamma(a + 1) - std::lgamma(n - a + 1) +
                                       (a > 0 ? a * logP : 0) + (n - a > 0 ? (n - a) * logQ : 0));
        power += weight * step * reached(a);
    }
    return std::clamp(power, 0.0, 1.0);
}

namespace {

// The p with 80 % power at exactly that many spins: from below, the power
// rises with p, so bisection between 1/37 and a chance surely found.
double solveDetectable(qint64 spins)
{
    double fair = 1.0 / WheelSize, found = std::min(1.0, fair + 3 / std::sqrt(double(spins)));
    for (int i = 0; i < 40 && found - fair > 1e-7; ++i) {
        const double middle = (fair + found) / 2;
        (BiasTestPower(spins, middle) < DetectionPower ? fair : found) = middle;
    }
    return found;
}

} // namespace

double DetectableChance(qint64 spins)
{
    if (spins < BiasTestMinimumSpins)
        return NaN;
    qint64 unit = 1; // of the third significant digit
    while (spins / unit >= 1000)
        unit *= 10;
    const qint64 solved = (spins + unit / 2) / unit * unit;
    static std::mutex guard;
    static std::map<qint64, double> known;
    double shift;
    {
        const std::lock_guard lock(guard);
        const auto it = known.find(solved);
        shift = it != known.end() ? it->second : NaN;
    }
    constexpr double Fair = 1.0 / WheelSize;
    if (std::isnan(shift)) {
        shift = (solveDetectable(solved) - Fair) * std::sqrt(double(solved));
        const std::lock_guard lock(guard);
        known.emplace(solved, shift);
    }
    return Fair + shift / std::sqrt(double(spins));
}

QString BreakEvenText()
{
    return QStringLiteral("Ставка на одно число окупается, только если оно выпадает чаще 1/36 = "
                          "2,78 %; чтобы заметить такое у заранее выбранного числа (с шансом "
                          "80 % при p < 1 %, односторонняя проверка), нужно около 474 000 "
                          "спинов.");
}

ChanceRange ChanceInterval(qint64 trials, qint64 successes, double tail)
{
    ChanceRange range;
    if (trials <= 0 || successes < 0 || successes > trials)
        return range;
    using Binomial = boost::math::binomial_distribution<double, Quiet>;
    range.low = Binomial::find_lower_bound_on_p(double(trials), double(successes), tail);
    range.high = Binomial::find_upper_bound_on_p(double(trials), double(successes), tail);
    return range;
}

AnalysisFigures ComputeAnalysis(const HistoryStatistics &statistics, QStringView thresholdText)
{
    AnalysisFigures f;
    const qint32 n = statistics.spinCount;
    f.spins = n;
    f.expectedCount = double(n) / WheelSize;

    f.chiSquare = f.chiSquareP = f.chiSquareLowerP = NaN;
    f.chiSquareText = NoFigure();
    f.detectableChance = DetectableChance(n);
    if (n >= BiasTestMinimumSpins) {
        f.chiSquare = ChiSquareStatistic(statistics.occurrence);
        f.chiSquareText = ChiSquareText(statistics.occurrence);
        f.chiSquareP = ChiSquareUpperTail(f.chiSquare, WheelSize - 1);
        f.chiSquareLowerP = ChiSquareLowerTail(f.chiSquare, WheelSize - 1);
        f.verdict = f.chiSquareP < BiasTestLevel        ? BiasVerdict::Uneven
                    : f.chiSquareLowerP < BiasTestLevel ? BiasVerdict::TooEven
                                                        : BiasVerdict::Fair;
    }

    // Without spins nothing below has a meaning.
    std::array<int, GroupRowCount> rows{};
    std::iota(rows.begin(), rows.end(), 0);
    if (n <= 0) {
        f.hottestP = f.hottestFamilyP = NaN;
        f.droughtP = f.droughtFamilyP = f.alarmRate = NaN;
        f.chances.fill(NaN);
        f.combinations = {rows.front(), NaN, NaN};
        f.sectors = {CombinationCount, NaN, NaN};
        f.allCountsLow = f.allCountsHigh = NaN;
        return f;
    }

    constexpr double One = 1.0 / WheelSize;
    f.hottest = int(std::max_element(statistics.occurrence.begin(), statistics.occurrence.end()) -
                    statistics.occurrence.begin());
    f.hottestCount = statistics.occurrence[f.hottest];
    f.hottestP = BinomialUpperTail(n, One, f.hottestCount);
    f.hottestFamilyP = LargestCountAtLeastChance(n, f.hottestCount);
    f.hottestRange = ChanceInterval(n, f.hottestCount, HottestIntervalTail);

    f.drought = int(std::max_element(statistics.absence.begin(), statistics.absence.end()) -
                    statistics.absence.begin());
    f.droughtSpins = statistics.absence[f.drought];
    f.droughtP = MissChance(1, f.droughtSpins);
    f.droughtFamilyP = AnyNumberMissingChance(f.droughtSpins);

    const auto threshold = TryStrToInt(thresholdText);
    f.alarmRate = threshold ? AnyNumberMissingChance(*threshold) : NaN;

    // A group's miss run is the shortest absence among its numbers.
    for (int row = 0; row < GroupRowCount; ++row) {
        const NumberSet members = GroupMembers(row);
        qint32 run = n;
        for (NumberSet bits = members; bits != 0; bits &= bits - 1)
            run = std::min(run, statistics.absence[std::countr_zero(bits)]);
        f.runs[row] = run;
        f.chances[row] = MissChance(std::popcount(members), run);
    }
    f.combinations = MostUnusual(std::span(rows).first(CombinationCount), f.runs, f.chances, n);
    f.sectors = MostUnusual(std::span(rows).last(SectorCount), f.runs, f.chances, n);

    const CountBand band = AllCountsBand(n);
    f.allCountsLow = double(InsideLowest(band));
    f.allCountsHigh = double(InsideHighest(band));
    return f;
}

QString NoFigure()
{
    return QStringLiteral("—");
}

QString FormatDecimal(double value, int decimals)
{
    if (std::isnan(value))
        return NoFigure();
    return QString::number(value, 'f', decimals).replace(u'.', u',');
}

QString FormatFraction(qint64 numerator, qint64 denominator, int decimals)
{
    if (numerator < 0 || denominator <= 0)
        return NoFigure();
    return roundedText(numerator / denominator, numerator % denominator, denominator, decimals);
}

QString FormatChance(double chance)
{
    if (std::isnan(chance))
        return NoFigure();
    if (chance < 1e-6)
        return QStringLiteral("< 0,0001 %");
    if (chance >= ChanceShownAsCertain)
        return QStringLiteral("> 99 %");
    return percentDigits(chance) + QStringLiteral(" %");
}

QString FormatChanceRange(const ChanceRange &range)
{
    if (std::isnan(range.low) || std::isnan(range.high))
        return NoFigure();
    return percentDigits(range.low) + u'–' + percentDigits(range.high) + QStringLiteral(" %");
}

} // namespace trevolo
