#include "FuzzChecks.h"

#include "analysis/NumberClasses.h"
#include "analysis/SpinHistoryModel.h"
#include "analysis/Statistics.h"
#include "common/Cp1251.h"
#include "common/Error.h"
#include "common/IntegerText.h"
#include "history/HistoryText.h"
#include "history/SpinImport.h"
#include "settings/AuxilaryUnit.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <optional>
#include <string>

namespace trevolo::fuzz {

namespace {

void Require(bool holds, const char *what)
{
    if (holds)
        return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

// Every byte one character, so digits, signs and blanks are cheap to find.
QString Latin1Text(QByteArrayView bytes)
{
    return QString::fromLatin1(bytes);
}

// Pairs of bytes as UTF-16 code units, surrogates and all.
QString Utf16Text(QByteArrayView bytes)
{
    QString text(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(char16_t(quint8(bytes[2 * i]) | quint8(bytes[2 * i + 1]) << 8));
    return text;
}

// The first byte chooses how the rest becomes text: odd as UTF-16, even as
// Latin-1.
QString AnyText(QByteArrayView input)
{
    if (input.isEmpty())
        return {};
    const QByteArrayView rest = input.sliced(1);
    return (input.front() & 1) != 0 ? Utf16Text(rest) : Latin1Text(rest);
}

// ------------------------------------------------------------- INI document

bool SameDocument(const TINIView &a, const TINIView &b)
{
    if (a.SectionNames() != b.SectionNames() || a.Sections().size() != b.Sections().size())
        return false;
    for (size_t i = 0; i < a.Sections().size(); ++i) {
        const TSection &x = *a.Sections()[i];
        const TSection &y = *b.Sections()[i];
        if (x.Name() != y.Name() || x.Keys() != y.Keys() || x.Values() != y.Values())
            return false;
    }
    return true;
}

// Every stored value can be read back through the look-ups, in the first
// section of its name.
void RequireLookups(const TINIView &document)
{
    const QString missing = QStringLiteral("\x01missing");
    for (size_t i = 0; i < document.Sections().size(); ++i) {
        const TSection &section = *document.Sections()[i];
        Require(section.Keys().size() == section.Values().size(), "keys and values pair up");
        Require(document.SectionNames().at(qsizetype(i)) == section.Name(), "section names");
        const TSection *first = document.FindSection(section.Name());
        Require(first != nullptr, "a section is found by its name");
        if (first != &section)
            continue;
        for (qsizetype k = 0; k < section.Count(); ++k) {
            Require(section.IndexOfKey(section.Keys().at(k)) == k, "a key is found in place");
            Require(document.ReadString(section.Name(), section.Keys().at(k), missing) ==
                        section.Values().at(k),
                    "a value is read back");
        }
    }
}

} // namespace

void IniDocument(QByteArrayView input)
{
    TINIView loaded;
    loaded.LoadFromBytes(input);
    RequireLookups(loaded);
    const QByteArray saved = loaded.SaveToBytes();

    TINIView reloaded;
    reloaded.LoadFromBytes(saved);
    Require(SameDocument(loaded, reloaded), "load, save, load gives the same document");
    Require(reloaded.SaveToBytes() == saved, "saving is a fixed point");
}

// --------------------------------------------------------- integer-text rule

namespace {

int DigitValue(QChar c, int base)
{
    const char16_t u = c.unicode();
    int value = -1;
    if (u >= u'0' && u <= u'9')
        value = u - u'0';
    else if (u >= u'a' && u <= u'f')
        value = u - u'a' + 10;
    else if (u >= u'A' && u <= u'F')
        value = u - u'A' + 10;
    return value < base ? value : -1;
}

// The rule as plainly as it can be said: the digits, without leading zeros,
// are compared as text with the largest value allowed.
std::optional<qint32> ReferenceInteger(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    int base = 10;
    if (i < n && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
        base = 16;
        i += 1;
    } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i == n)
        return std::nullopt;

    std::string digits;
    for (; i < n; ++i) {
        const int d = DigitValue(text[i], base);
        if (d < 0)
            return std::nullopt;
        if (!digits.empty() || d != 0)
            digits.push_back("0123456789abcdef"[d]);
    }
    if (digits.empty())
        digits.push_back('0');

    if (base == 16) {
        if (digits.size() > 8)
            return std::nullopt;
        const quint32 pattern = quint32(std::stoul(digits, nullptr, 16));
        return qint32(negative ? 0u - pattern : pattern);
    }
    const std::string largest = negative ? "2147483648" : "2147483647";
    if (digits.size() > largest.size() || (digits.size() == largest.size() && digits > largest))
        return std::nullopt;
    const long long value = std::stoll(digits);
    return qint32(negative ? -value : value);
}

} // namespace

void IntegerText(QByteArrayView input)
{
    const QString text = AnyText(input);
    const std::optional<qint32> actual = TryStrToInt(text);
    Require(actual == ReferenceInteger(text), "the rule agrees with the reference");

    bool thrown = false;
    try {
        Require(StrToInt(text) == actual, "StrToInt gives what TryStrToInt gives");
    } catch (const ConvertError &) {
        thrown = true;
    }
    Require(thrown == !actual.has_value(), "StrToInt throws exactly on a refused text");
    if (actual)
        Require(TryStrToInt(IntToStr(*actual)) == actual, "written integers read back");
}

// ---------------------------------------------------------------- statistics

namespace {

bool InCombination(int group, qint32 n)
{
    using Predicate = bool (*)(qint32) noexcept;
    static constexpr Predicate predicates[CombinationCount + 1] = {
        nullptr,   &IsRed,    &IsBlack,  &IsEven,    &IsOdd,     &IsLow,     &IsHigh,
        &InDozen1, &InDozen2, &InDozen3, &InColumn1, &InColumn2, &InColumn3,
    };
    return n != 0 && predicates[group](n);
}

// The statistics of a history replayed one spin at a time, the counters
// updated after every spin as a player would keep them on paper.
HistoryStatistics Replay(QStringView history, QStringView thresholdText)
{
    HistoryStatistics s;
    QString text = history.toString();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    QStringList lines = text.split(u'\n');
    if (lines.back().isEmpty())
        lines.removeLast();

    for (const QString &line : std::as_const(lines)) {
        ++s.lineCount;
        const auto n = TryStrToInt(line);
        if (!n || *n < 0 || *n >= WheelSize)
            continue;
        ++s.spinCount;
        for (int g = 1; g <= CombinationCount; ++g)
            s.missRuns[g] = InCombination(g, *n) ? 0 : s.missRuns[g] + 1;
        for (int m = 0; m < WheelSize; ++m)
            s.absence[m] = m == *n ? 0 : s.absence[m] + 1;
        ++s.occurrence[*n];
    }

    std::array<int, WheelSize> order;
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&s](int a, int b) { return s.absence[a] > s.absence[b]; });
    std::copy_n(order.begin(), s.nearest.size(), s.nearest.begin());

    if (const auto threshold = TryStrToInt(thresholdText)) {
        s.thresholdValid = true;
        s.threshold = *threshold;
        QStringList qualifying;
        for (int m = 0; m < WheelSize; ++m)
            s.alarm[m] = s.absence[m] >= *threshold;
        for (const qint32 m : s.nearest) {
            if (s.absence[m] >= *threshold)
                qualifying.append(QStringLiteral("%1 (%2)").arg(m).arg(s.absence[m]));
        }
        s.statusText = QStringLiteral("Ближайшее число: ") + qualifying.join(u", ");
    }
    return s;
}

void RequireSameStatistics(const HistoryStatistics &actual, const HistoryStatistics &expected)
{
    Require(actual.lineCount == expected.lineCount, "line count");
    Require(actual.spinCount == expected.spinCount, "spin count");
    Require(actual.missRuns == expected.missRuns, "miss runs");
    Require(actual.absence == expected.absence, "absences");
    Require(actual.occurrence == expected.occurrence, "occurrences");
    Require(actual.nearest == expected.nearest, "nearest numbers");
    Require(actual.thresholdValid == expected.thresholdValid, "threshold converts");
    Require(actual.threshold == expected.threshold, "threshold");
    Require(actual.alarm == expected.alarm, "alarms");
    Require(actual.statusText == expected.statusText, "status text");
}

// The lines of a text cut at CR LF, a lone CR and LF, the piece after the
// last break included.
QStringList LinesOf(const QString &text)
{
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalised.replace(u'\r', u'\n');
    return normalised.split(u'\n');
}

// The window's model, led through a series of line edits, against the full
// pass over the text the edits make. Each edit is two bytes that pick the
// first line and how many lines go, then the text whose lines come in their
// place (none when nothing follows the two bytes). Small chunks make the
// edits split and merge them.
void RequireModelFollows(const QString &initial, const QList<QByteArrayView> &edits,
                         QStringView thresholdText)
{
    SpinHistoryModel model(4);
    model.SetText(initial);
    QStringList lines = LinesOf(initial);
    for (const QByteArrayView edit : edits) {
        if (edit.size() < 2)
            continue;
        const qint32 size = qint32(lines.size());
        const qint32 first = quint8(edit[0]) % (size + 1);
        const qint32 removed = quint8(edit[1]) % (size - first + 1);
        std::vector<quint8> codes;
        QStringList inserted;
        if (edit.size() > 2) {
            const QString text = Latin1Text(edit.sliced(2));
            SpinHistoryModel::AppendCodes(text, codes);
            inserted = LinesOf(text);
        }
        if (size - removed + inserted.size() < 1)
            continue; // a document holds at least one line
        model.Replace(first, removed, codes);
        lines.remove(first, removed);
        for (qsizetype i = 0; i < inserted.size(); ++i)
            lines.insert(first + i, inserted[i]);
        Require(model.size() == lines.size(), "model lines");
    }
    const QString text = lines.join(u'\n');
    const HistoryStatistics full = ComputeStatistics(text, thresholdText);
    RequireSameStatistics(full, Replay(text, thresholdText));
    RequireSameStatistics(model.Statistics(thresholdText), full);
}

} // namespace

void Statistics(QByteArrayView input)
{
    // The threshold text runs up to the first NUL byte, then the history up
    // to the next, then the edits one after another, each ended by a NUL.
    // Without a NUL the whole input is the history under the usual threshold.
    const qsizetype split = input.indexOf('\0');
    if (split < 0) {
        RequireModelFollows(Latin1Text(input), {}, u"170");
        return;
    }
    QList<QByteArrayView> parts;
    for (QByteArrayView rest = input.sliced(split + 1);;) {
        const qsizetype end = rest.indexOf('\0');
        parts.append(end < 0 ? rest : rest.first(end));
        if (end < 0)
            break;
        rest = rest.sliced(end + 1);
    }
    const QString history = Latin1Text(parts.takeFirst());
    RequireModelFollows(history, parts, Latin1Text(input.first(split)));
}

// -------------------------------------------------------------- code page

void Cp1251(QByteArrayView input)
{
    const QString decoded = FromCp1251(input);
    Require(decoded.size() == input.size(), "every byte decodes to one character");
    Require(ToCp1251(decoded) == input, "decoded bytes encode back unchanged");
    Require(LimitToCp1251(decoded) == decoded, "decoded text is held whole");

    const QString text = Utf16Text(input);
    const QString limited = LimitToCp1251(text);
    qsizetype characters = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++characters) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
    }
    Require(limited.size() == characters, "one character for every character");
    Require(FromCp1251(ToCp1251(limited)) == limited, "a limited text round-trips");
    Require(LimitToCp1251(limited) == limited, "limiting twice changes nothing");
}

// ------------------------------------------------------------- history file

void HistoryFile(QByteArrayView input)
{
    const QString loaded = HistoryFromFileBytes(input);
    Require(!loaded.contains(u'\r'), "loaded lines are separated by line feeds only");
    const QByteArray saved = HistoryToFileBytes(loaded);
    const QString reloaded = HistoryFromFileBytes(saved);
    Require(reloaded == loaded, "load, save, load gives the same history");
    Require(HistoryToFileBytes(reloaded) == saved, "saving is a fixed point");
    Require(saved.size() == loaded.size() + loaded.count(u'\n'), "each break becomes CR LF");
}

// ---------------------------------------------------------------- spin import

void SpinImport(QByteArrayView input)
{
    const ImportResult guessed = ReadSpins(input, ImportOptions());
    Require(std::all_of(guessed.spins.begin(), guessed.spins.end(),
                        [](quint8 spin) { return spin <= 36; }),
            "every spin is 0..36");
    Require(guessed.error.isEmpty() != guessed.spins.empty(), "a reason exactly when no spins");
    Require(guessed.skipped.size() <= size_t(guessed.skippedCount), "skipped cells counted");
    if (guessed.json || guessed.spins.empty())
        return;
    ImportOptions explicitly;
    explicitly.encoding = guessed.encoding;
    explicitly.separator = guessed.separator;
    explicitly.column = guessed.column;
    explicitly.order = guessed.order;
    Require(ReadSpins(input, explicitly).spins == guessed.spins, "the guesses are what is used");
    ImportOptions lines;
    lines.separator = ImportSeparator::Lines;
    lines.order = ImportOrder::OldestFirst;
    Require(ReadSpins(SpinsAsLines(guessed.spins).toUtf8(), lines).spins == guessed.spins,
            "spins one per line read back");
}

} // namespace trevolo::fuzz
