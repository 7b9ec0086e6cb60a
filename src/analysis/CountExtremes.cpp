#include "analysis/CountExtremes.h"

#include "analysis/Statistics.h"

#include <boost/math/distributions/binomial.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/poisson.hpp>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

namespace trevolo {

namespace {

// The distributions answer NaN, 0 or a limit rather than throw: the figures
// are computed inside a window's refresh, where no exception may escape.
using namespace boost::math::policies;
using Quiet =
    policy<domain_error<ignore_error>, pole_error<ignore_error>, overflow_error<ignore_error>,
           underflow_error<ignore_error>, evaluation_error<ignore_error>>;

constexpr int Others = WheelSize - 1;
constexpr double BandTail = 0.025;

// Terms of a count's distribution this far below its largest are left out.
constexpr double Negligible = 1e-17;

// a * b mod m without overflow, for a and b in [0, m).
qint64 mulMod(qint64 a, qint64 b, qint64 m)
{
    __extension__ using Wide = __int128;
    return qint64(Wide(a) * b % m);
}

qint64 mod(qint64 a, qint64 m)
{
    const qint64 r = a % m;
    return r < 0 ? r + m : r;
}

// Far enough above the smallest double to keep full precision.
constexpr double Tiny = 1e-280;

// P(X = j), X ~ Poisson(mean), and its logarithm.
double poisson(qint64 j, double mean)
{
    return boost::math::pdf(boost::math::poisson_distribution<double, Quiet>(mean), double(j));
}

double logPoisson(qint64 j, double mean)
{
    return double(j) * std::log(mean) - mean - std::lgamma(double(j) + 1);
}

// Sum of weights[i] * first * step^i, in four interleaved rotations so that
// the multiplications do not wait on each other.
std::complex<double> rotatedSum(const std::vector<double> &weights, std::complex<double> first,
                                std::complex<double> step)
{
    const std::complex<double> step2 = step * step;
    double re[4], im[4], accRe[4] = {}, accIm[4] = {};
    std::complex<double> z[4] = {first, first * step, first * step2, first * step2 * step};
    for (int m = 0; m < 4; ++m) {
        re[m] = z[m].real();
        im[m] = z[m].imag();
    }
    const std::complex<double> step4 = step2 * step2;
    const double sr = step4.real(), si = step4.imag();
    const std::size_t whole = weights.size() / 4 * 4;
    for (std::size_t i = 0; i < whole; i += 4) {
        for (int m = 0; m < 4; ++m) {
            accRe[m] += weights[i + m] * re[m];
            accIm[m] += weights[i + m] * im[m];
            const double r = re[m] * sr - im[m] * si;
            im[m] = re[m] * si + im[m] * sr;
            re[m] = r;
        }
    }
    for (std::size_t i = whole; i < weights.size(); ++i) {
        const int m = int(i - whole);
        accRe[m] += weights[i] * re[m];
        accIm[m] += weights[i] * im[m];
    }
    return {accRe[0] + accRe[1] + accRe[2] + accRe[3], accIm[0] + accIm[1] + accIm[2] + accIm[3]};
}

// P(some count of n fair spins is at `edge` or beyond it, upward or
// downward), for an edge beyond the count every number could share
// (n / 37 < edge < n upward, edge < n / 37 - 1 downward).
//
// The 37 counts have the law of 37 independent Poisson(s) counts X given
// their sum S = n, for every s > 0. With F the distribution of X, D its part
// beyond the edge and T = F - D the rest,
//   P(S = n, some X beyond) = [F^37 - T^37](n) = [D * sum_k F^k T^(36-k)](n),
// convolution powers of non-negative terms, and the chance is that over
// P(S = n). The value at n is the discrete Fourier sum of the generating
// functions over the M points of the unit circle, M wider than the spread
// of the sums, so nothing else folds onto n.
//
// s = (n - edge) / 36, one count at the edge and the others sharing the
// rest, the likeliest way to go beyond it: n is then the centre of the sums
// and the Fourier sum keeps the precision of its terms even in the far
// tails, where F^37 - T^37 would cancel.
double anyCountBeyond(qint64 n, qint64 edge, bool upward)
{
    const double s = double(n - edge) / Others;
    // The chance is first / total times the Fourier sum; they can fall out of
    // the range of a double where their ratio does not.
    const double first = poisson(edge, s);
    const double total = poisson(n, WheelSize * s);
    const double scale = first > Tiny && total > Tiny
                             ? first / total
                             : std::exp(logPoisson(edge, s) - logPoisson(n, WheelSize * s));
    if (!(scale > 0))
        return 0;

    // D relative to its value at the edge, falling away from it; no count of
    // n spins exceeds n.
    std::vector<double> weights;
    double mass = 0;
    for (qint64 j = edge; j >= 0 && j <= n; j += upward ? 1 : -1) {
        const double w =
            weights.empty() ? 1.0 : weights.back() * (upward ? s / double(j) : double(j + 1) / s);
        if (w < Negligible)
            break;
        weights.push_back(w);
        mass += w;
    }

    // The sums with one count beyond the edge lie within `spread` of n. Each
    // further count beyond moves them by |edge - s|; those with j of the 36
    // others beyond weigh C(36, j) (D / T)^j as much. The circle is wide
    // enough for every weight that counts to stay clear of the next turn.
    double moment = 0;
    for (std::size_t i = 0; i < weights.size(); ++i)
        moment += weights[i] * double(i);
    const double spread = 8 * std::sqrt(WheelSize * s) + moment / mass + 20;
    const double ratio = first * mass / std::max(1 - first * mass, 1e-300);
    int alsoBeyond = 0;
    for (double weight = Others * ratio; weight > 1e-20 && alsoBeyond < Others;
         weight *= double(Others - alsoBeyond) / (alsoBeyond + 1) * ratio)
        ++alsoBeyond;
    const qint64 half = qint64(std::ceil(spread + alsoBeyond * std::abs(double(edge) - s) / 2));
    const qint64 points = 2 * half + 1;
    const qint64 centre = qint64(std::floor(s + 0.5));
    const qint64 edgeShift = mod(edge - centre, points);
    const qint64 sumShift = mod(WheelSize * centre - n, points);
    const auto unit = [points](qint64 turns) {
        return std::polar(1.0, 2 * std::numbers::pi * double(turns) / double(points));
    };

    double sum = 0, atZero = 0;
    int quiet = 0;
    for (qint64 k = 0; k <= half; ++k) {
        const double t = 2 * std::numbers::pi * double(k) / double(points);
        // Every generating function is taken about the centre: F(e^it) =
        // e^(it centre) f, the same for D and T.
        const std::complex<double> d = rotatedSum(weights, unit(mulMod(edgeShift, k, points)),
                                                  std::polar(1.0, upward ? t : -t));
        const double sine = std::sin(t / 2);
        const double fall = std::exp(-2 * s * sine * sine);
        const std::complex<double> f =
            std::polar(fall, s * (std::sin(t) - t) + (s - double(centre)) * t);
        const std::complex<double> rest = f - first * d;
        std::complex<double> powers = 1, series = 1;
        for (int i = 0; i < Others; ++i) {
            powers *= rest;
            series = series * f + powers;
        }
        const std::complex<double> term = unit(mulMod(sumShift, k, points)) * d * series;
        if (k == 0) {
            atZero = std::abs(term);
            sum += term.real();
            continue;
        }
        sum += 2 * term.real();
        // F falls steadily with t, and once the terms are negligible too
        // the rest of the circle adds nothing.
        const bool faded = std::pow(fall, Others) < 1e-18 && std::abs(term) < 1e-18 * atZero;
        quiet = faded ? quiet + 1 : 0;
        if (quiet == 2)
            break;
    }
    return std::clamp(scale * sum / double(points), 0.0, 1.0);
}

// The chance of one count >= c and of one count <= c: Bin(n, 1/37).
double oneAtLeast(qint64 n, qint64 c)
{
    if (c <= 0)
        return 1;
    if (c > n)
        return 0;
    const boost::math::binomial_distribution<double, Quiet> one(double(n), 1.0 / WheelSize);
    return boost::math::cdf(boost::math::complement(one, double(c - 1)));
}

double oneAtMost(qint64 n, qint64 c)
{
    if (c < 0)
        return 0;
    if (c >= n)
        return 1;
    const boost::math::binomial_distribution<double, Quiet> one(double(n), 1.0 / WheelSize);
    return boost::math::cdf(one, double(c));
}

} // namespace

double LargestCountAtLeastChance(qint64 spins, qint64 count)
{
    const qint64 n = std::max<qint64>(spins, 0);
    if (count <= 0)
        return 1;
    if (count > n)
        return 0;
    // The largest count is at least n / 37 rounded up.
    if (WheelSize * (count - 1) < n)
        return 1;
    if (count == n) // every spin the same number
        return std::exp(double(1 - n) * std::log(double(WheelSize)));
    return anyCountBeyond(n, count, true);
}

double SmallestCountAtMostChance(qint64 spins, qint64 count)
{
    const qint64 n = std::max<qint64>(spins, 0);
    if (count < 0)
        return 0;
    // The smallest count is at most n / 37 rounded down.
    if (WheelSize * (count + 1) > n)
        return 1;
    return anyCountBeyond(n, count, false);
}

CountBand AllCountsBand(qint64 spins)
{
    const qint64 n = std::max<qint64>(spins, 0);
    // Start from the counts taken as independent, each with the chance that
    // gives 2.5 % for one of 37. The counts of a wheel go the opposite ways
    // (one number's spins are missing from the others), so that is a lower
    // bound of the true chance of the largest and of the smallest alike: the
    // bounds only ever move outward from there.
    const double one = -std::expm1(std::log1p(-BandTail) / WheelSize);
    const double mean = double(n) / WheelSize;
    const double sd = std::sqrt(mean * (WheelSize - 1) / WheelSize);
    const double z = boost::math::quantile(
        boost::math::complement(boost::math::normal_distribution<double, Quiet>(), one));

    CountBand band;
    band.upper = std::min<qint64>(n + 1, std::max<qint64>(0, qint64(std::ceil(mean + z * sd))));
    while (oneAtLeast(n, band.upper) > one)
        ++band.upper;
    while (band.upper > 0 && oneAtLeast(n, band.upper - 1) <= one)
        --band.upper;
    while (LargestCountAtLeastChance(n, band.upper) > BandTail)
        ++band.upper;

    band.lower = std::max<qint64>(-1, qint64(std::floor(mean - z * sd)));
    while (band.lower >= 0 && oneAtMost(n, band.lower) > one)
        --band.lower;
    while (band.lower < n && oneAtMost(n, band.lower + 1) <= one)
        ++band.lower;
    while (band.lower >= 0 && SmallestCountAtMostChance(n, band.lower) > BandTail)
        --band.lower;
    return band;
}

qint64 InsideLowest(const CountBand &band)
{
    return band.lower + 1;
}

qint64 InsideHighest(const CountBand &band)
{
    return std::max<qint64>(0, band.upper - 1);
}

} // namespace trevolo
