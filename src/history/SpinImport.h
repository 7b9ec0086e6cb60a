#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <optional>
#include <vector>

namespace trevolo {

// Spins read from another program's list: a casino's "last numbers" line, a
// spreadsheet saved as CSV or TSV, one number per line, a JSON array. The
// reading is guessed from the bytes and each guess can be overridden.

// A larger file is refused before it is read.
constexpr qint64 MaxImportFileBytes = qint64(256) * 1024 * 1024;

enum class ImportEncoding
{
    Auto, // a BOM, else UTF-8 when the bytes are valid UTF-8, else code page 1251
    Utf8,
    Utf16,
    Cp1251,
};

enum class ImportSeparator
{
    Auto,
    Comma,
    Semicolon,
    Tab,
    Blanks, // runs of blanks and tabs
    Lines,  // one cell per line
};

enum class ImportOrder
{
    Auto, // a single line is newest first (as casinos list them), the rest oldest first
    OldestFirst,
    NewestFirst,
};

struct ImportOptions
{
    ImportEncoding encoding = ImportEncoding::Auto;
    ImportSeparator separator = ImportSeparator::Auto;
    int column = -1; // the column of the numbers; -1 picks it
    int skipRows = 0;
    ImportOrder order = ImportOrder::Auto;
};

// A cell that gave no spin: its line in the text (from 1), the cell, and why
// when there is more to say than that it is no number 0..36.
struct SkippedCell
{
    qint64 line;
    QString text;
    QString reason;
};

struct ImportResult
{
    // What was used, the guesses resolved.
    ImportEncoding encoding = ImportEncoding::Utf8;
    ImportSeparator separator = ImportSeparator::Lines;
    ImportOrder order = ImportOrder::OldestFirst;
    bool json = false;
    bool singleLine = false; // the numbers stood on one line
    bool header = false;     // the first row named the columns
    QStringList columns;     // the header's names, or "1", "2", ... without one
    int column = -1;
    // The spins, oldest first.
    std::vector<quint8> spins;
    qint64 skippedCount = 0;
    std::vector<SkippedCell> skipped; // the first ones, at most SkippedShown
    // Non-empty when nothing can be imported; says why.
    QString error;

    static constexpr int SkippedShown = 10;
};

// The text of `bytes` in `encoding`; with Auto, `encoding` is set to the one
// detected. A BOM is left out of the text.
QString DecodeImportBytes(QByteArrayView bytes, ImportEncoding &encoding);

// The number a cell holds: its only run of digits when that is 0..36 and no
// sign or decimal point is next to it ("17", " 17 red", "17к", "№ 5"). "00"
// gives nothing, with the reason in `reason`.
std::optional<int> CellNumber(QStringView cell, QString *reason = nullptr);

// Called now and then with the percent done; false stops the reading, which
// then ends with the error "Импорт отменён".
using ImportProgress = std::function<bool(int percent)>;

// Reads the spins from `bytes` as `options` say. Never throws on any input.
ImportResult ReadSpins(QByteArrayView bytes, const ImportOptions &options,
                       const ImportProgress &progress = {});

// "Чисел: <n>; пропущено: <k>", followed by the first skipped cells, each as
// "стр. 3: «x»" (with the reason after a dash when there is one).
QString ImportSummary(const ImportResult &result);

// The numbers of `spins` as text, one per line, each line ending with "\n".
QString SpinsAsLines(const std::vector<quint8> &spins);

} // namespace trevolo
