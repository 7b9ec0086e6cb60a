#include "history/SpinImport.h"

#include "common/Cp1251.h"
#include "common/Lines.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QStringDecoder>

#include <algorithm>
#include <array>

namespace trevolo {

using namespace Qt::StringLiterals;

namespace {

constexpr int RowsPerProgress = 1 << 16;
// Lines looked at to guess the separator.
constexpr int SampleLines = 200;
constexpr qsizetype CellShown = 40;

const QString DoubleZero = u"двойное зеро: колесо с одним зеро"_s;

bool IsDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == QChar(0xA0);
}

// A cell that is nothing but a number 0..36.
bool IsPlainNumber(QStringView cell)
{
    if (cell.isEmpty() || cell.size() > 2 || !std::all_of(cell.begin(), cell.end(), IsDigit))
        return false;
    if (cell == u"00")
        return false;
    return cell.toInt() <= 36;
}

// The header names that mark the column of the numbers.
bool NamesNumbers(QStringView name)
{
    static const std::array<QString, 5> Names = {u"Число"_s, u"Номер"_s, u"Number"_s, u"Spin"_s,
                                                 u"Result"_s};
    const QStringView trimmed = name.trimmed();
    return std::any_of(Names.begin(), Names.end(), [trimmed](const QString &n) {
        return trimmed.compare(n, Qt::CaseInsensitive) == 0;
    });
}

QString Unquoted(QStringView cell)
{
    QString text = cell.toString();
    text.replace(u"\"\""_s, u"\""_s);
    return text;
}

// The rows of the text as cells, views into the text.
struct Table
{
    std::vector<QStringView> cells;
    std::vector<qsizetype> rowStart; // one past the last row too
    std::vector<qint64> rowLine;     // the row's line in the text, from 1

    qsizetype Rows() const { return qsizetype(rowLine.size()); }
    QStringView Cell(qsizetype row, int column) const
    {
        const qsizetype at = rowStart[size_t(row)] + column;
        return at < rowStart[size_t(row) + 1] ? cells[size_t(at)] : QStringView();
    }
    qsizetype Width(qsizetype row) const
    {
        return rowStart[size_t(row) + 1] - rowStart[size_t(row)];
    }
};

// Cells separated by `separator`; a cell in double quotes may hold it, a
// doubled quote inside stands for one.
void SplitQuoted(QStringView line, QChar separator, std::vector<QStringView> &cells)
{
    const qsizetype n = line.size();
    qsizetype at = 0;
    while (true) {
        qsizetype start = at;
        while (start < n && line[start] == u' ')
            ++start;
        qsizetype next = 0;
        if (start < n && line[start] == u'"') {
            qsizetype close = start + 1;
            while (close < n) {
                if (line[close] == u'"') {
                    if (close + 1 < n && line[close + 1] == u'"')
                        close += 2;
                    else
                        break;
                } else {
                    ++close;
                }
            }
            cells.push_back(line.sliced(start + 1, std::min(close, n) - start - 1));
            next = close < n ? line.indexOf(separator, close) : -1;
        } else {
            next = line.indexOf(separator, at);
            cells.push_back((next < 0 ? line.sliced(at) : line.sliced(at, next - at)).trimmed());
        }
        if (next < 0)
            return;
        at = next + 1;
    }
}

void SplitBlanks(QStringView line, std::vector<QStringView> &cells)
{
    const qsizetype n = line.size();
    qsizetype at = 0;
    while (at < n) {
        while (at < n && IsBlank(line[at]))
            ++at;
        const qsizetype start = at;
        while (at < n && !IsBlank(line[at]))
            ++at;
        if (at > start)
            cells.push_back(line.sliced(start, at - start));
    }
}

QChar SeparatorChar(ImportSeparator separator)
{
    switch (separator) {
    case ImportSeparator::Comma:
        return u',';
    case ImportSeparator::Semicolon:
        return u';';
    case ImportSeparator::Tab:
        return u'\t';
    default:
        return QChar();
    }
}

// The separator most sampled lines hold: a tab, then ";", then ","; else
// blanks between words, else one cell per line.
ImportSeparator GuessSeparator(const std::vector<QStringView> &sample)
{
    constexpr std::array<ImportSeparator, 3> Candidates = {
        ImportSeparator::Tab, ImportSeparator::Semicolon, ImportSeparator::Comma};
    ImportSeparator best = ImportSeparator::Lines;
    qsizetype bestLines = 0;
    for (ImportSeparator candidate : Candidates) {
        const QChar c = SeparatorChar(candidate);
        const auto lines = std::count_if(sample.begin(), sample.end(),
                                         [c](QStringView line) { return line.contains(c); });
        if (lines > bestLines) {
            best = candidate;
            bestLines = lines;
        }
    }
    if (bestLines > 0)
        return best;
    const bool words = std::any_of(sample.begin(), sample.end(), [](QStringView line) {
        const QStringView t = line.trimmed();
        return std::any_of(t.begin(), t.end(), IsBlank);
    });
    return words ? ImportSeparator::Blanks : ImportSeparator::Lines;
}

class Reader
{
public:
    Reader(const ImportOptions &options, const ImportProgress &progress, ImportResult &result)
        : m_options(options), m_progress(progress), m_result(result)
    {
    }

    void ReadText(QStringView text);
    void ReadJson(QStringView text);

private:
    bool Progress(qsizetype done, qsizetype total)
    {
        if (!m_progress || m_progress(int(done * 100 / std::max<qsizetype>(total, 1))))
            return true;
        m_result.error = u"Импорт отменён"_s;
        return false;
    }
    void Take(QStringView cell, qint64 line);
    void Skip(QStringView cell, qint64 line, const QString &reason);
    int ChooseColumn(const Table &table, qsizetype firstRow, int width) const;

    const ImportOptions &m_options;
    const ImportProgress &m_progress;
    ImportResult &m_result;
};

void Reader::Skip(QStringView cell, qint64 line, const QString &reason)
{
    ++m_result.skippedCount;
    if (m_result.skipped.size() < size_t(ImportResult::SkippedShown)) {
        QString shown = cell.left(CellShown).toString();
        if (cell.size() > CellShown)
            shown += u'…';
        m_result.skipped.push_back({line, shown, reason});
    }
}

void Reader::Take(QStringView cell, qint64 line)
{
    if (cell.trimmed().isEmpty())
        return;
    QString reason;
    if (const auto number = CellNumber(cell, &reason))
        m_result.spins.push_back(quint8(*number));
    else
        Skip(cell, line, reason);
}

int Reader::ChooseColumn(const Table &table, qsizetype firstRow, int width) const
{
    if (m_result.header) {
        for (int c = 0; c < width; ++c)
            if (NamesNumbers(table.Cell(0, c)))
                return c;
    }
    const qsizetype rows = table.Rows() - firstRow;
    // The last column of plain numbers that does not just count the rows.
    for (int c = width - 1; c >= 0; --c) {
        bool plain = true;
        bool count = rows >= 2;
        qsizetype filled = 0;
        int first = -1;
        for (qsizetype r = firstRow; r < table.Rows() && plain; ++r) {
            const QStringView cell = table.Cell(r, c);
            if (cell.isEmpty()) {
                count = false;
                continue;
            }
            plain = IsPlainNumber(cell);
            if (!plain)
                break;
            const int value = cell.toInt();
            if (first < 0)
                first = value;
            count = count && value == first + (r - firstRow);
            ++filled;
        }
        if (plain && filled > 0 && !count)
            return c;
    }
    // Else the column where the most cells give a number, the last of equals.
    int best = -1;
    qsizetype bestNumbers = 0;
    for (int c = 0; c < width; ++c) {
        qsizetype numbers = 0;
        for (qsizetype r = firstRow; r < table.Rows(); ++r)
            numbers += CellNumber(table.Cell(r, c)).has_value();
        if (numbers > 0 && numbers >= bestNumbers) {
            best = c;
            bestNumbers = numbers;
        }
    }
    return best;
}

void Reader::ReadText(QStringView text)
{
    // The rows: every line with something on it, after the rows skipped.
    std::vector<QStringView> lines;
    std::vector<qint64> lineNumbers;
    qint64 lineNumber = 0;
    ForEachLine(text, [&](QStringView line) {
        ++lineNumber;
        if (line.trimmed().isEmpty())
            return;
        lines.push_back(line);
        lineNumbers.push_back(lineNumber);
    });
    const size_t skip = size_t(std::max(0, m_options.skipRows));
    lines.erase(lines.begin(), lines.begin() + qsizetype(std::min(skip, lines.size())));
    lineNumbers.erase(lineNumbers.begin(),
                      lineNumbers.begin() + qsizetype(std::min(skip, lineNumbers.size())));
    if (lines.empty()) {
        m_result.error = text.trimmed().isEmpty() ? u"Текст пуст: импортировать нечего"_s
                                                  : u"После пропущенных строк ничего нет"_s;
        return;
    }

    ImportSeparator separator = m_options.separator;
    if (separator == ImportSeparator::Auto)
        separator = GuessSeparator(std::vector<QStringView>(
            lines.begin(), lines.begin() + qsizetype(std::min<size_t>(lines.size(), SampleLines))));
    m_result.separator = separator;

    Table table;
    table.cells.reserve(lines.size());
    table.rowStart.reserve(lines.size() + 1);
    table.rowLine = std::move(lineNumbers);
    const QChar c = SeparatorChar(separator);
    for (size_t r = 0; r < lines.size(); ++r) {
        if (r % RowsPerProgress == 0 && !Progress(qsizetype(r), qsizetype(lines.size()) * 2))
            return;
        table.rowStart.push_back(qsizetype(table.cells.size()));
        if (separator == ImportSeparator::Lines)
            table.cells.push_back(lines[r].trimmed());
        else if (separator == ImportSeparator::Blanks)
            SplitBlanks(lines[r], table.cells);
        else
            SplitQuoted(lines[r], c, table.cells);
    }
    table.rowStart.push_back(qsizetype(table.cells.size()));

    // A single line of several cells: every cell is a spin.
    if (table.Rows() == 1 && table.Width(0) > 1) {
        m_result.singleLine = true;
        m_result.columns = {u"1"_s};
        m_result.column = 0;
        for (qsizetype i = 0; i < table.Width(0); ++i)
            Take(table.cells[size_t(i)], table.rowLine[0]);
        return;
    }

    int width = 0;
    for (qsizetype r = 0; r < table.Rows(); ++r)
        width = std::max(width, int(table.Width(r)));
    // The first row names the columns when none of its cells holds a digit.
    bool header = table.Rows() >= 2;
    for (int col = 0; col < table.Width(0) && header; ++col) {
        const QStringView cell = table.Cell(0, col);
        header = std::none_of(cell.begin(), cell.end(), IsDigit);
    }
    m_result.header = header;
    for (int col = 0; col < width; ++col)
        m_result.columns.append(header ? Unquoted(table.Cell(0, col)) : QString::number(col + 1));
    const qsizetype firstRow = header ? 1 : 0;

    int column = m_options.column;
    if (column >= width) {
        m_result.error = u"Колонки %1 нет: их %2"_s.arg(column + 1).arg(width);
        return;
    }
    if (column < 0)
        column = ChooseColumn(table, firstRow, width);
    m_result.column = column;
    if (column < 0) {
        m_result.error = u"Ни в одной колонке нет чисел 0..36"_s;
        return;
    }
    m_result.spins.reserve(size_t(table.Rows()));
    for (qsizetype r = firstRow; r < table.Rows(); ++r) {
        if (r % RowsPerProgress == 0 && !Progress(table.Rows() + r, table.Rows() * 2))
            return;
        Take(table.Cell(r, column), table.rowLine[size_t(r)]);
    }
}

void Reader::ReadJson(QStringView text)
{
    m_result.json = true;
    m_result.separator = ImportSeparator::Auto;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        m_result.error = u"JSON не читается: %1 (знак %2)"_s.arg(parseError.errorString())
                             .arg(parseError.offset + 1);
        return;
    }
    QJsonArray array;
    if (document.isArray()) {
        array = document.array();
    } else {
        // An object that holds the list as one of its members.
        const QJsonObject object = document.object();
        for (auto it = object.begin(); it != object.end() && array.isEmpty(); ++it)
            array = it.value().toArray();
    }
    if (array.isEmpty()) {
        m_result.error = u"В JSON нет списка чисел"_s;
        return;
    }
    // For objects: the field named as the numbers, else the first that holds a number.
    QString field;
    for (const QJsonValue value : std::as_const(array)) {
        if (!value.isObject())
            continue;
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end() && field.isEmpty(); ++it)
            if (NamesNumbers(it.key()))
                field = it.key();
        for (auto it = object.begin(); it != object.end() && field.isEmpty(); ++it)
            if (it.value().isDouble())
                field = it.key();
        break;
    }
    m_result.columns = {field.isEmpty() ? u"1"_s : field};
    m_result.column = 0;
    qint64 element = 0;
    for (const QJsonValue item : std::as_const(array)) {
        ++element;
        const QJsonValue value = item.isObject() ? item.toObject().value(field) : item;
        if (value.isDouble()) {
            const double d = value.toDouble();
            if (d >= 0 && d <= 36 && d == double(int(d)))
                m_result.spins.push_back(quint8(d));
            else
                Skip(QString::number(d), element, QString());
        } else if (value.isString()) {
            Take(value.toString(), element);
        } else {
            Skip(QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact))
                     .mid(1)
                     .chopped(1),
                 element, QString());
        }
    }
}

} // namespace

QString DecodeImportBytes(QByteArrayView bytes, ImportEncoding &encoding)
{
    const bool utf8Bom = bytes.startsWith("\xEF\xBB\xBF");
    const bool utf16Le = bytes.startsWith("\xFF\xFE");
    const bool utf16Be = bytes.startsWith("\xFE\xFF");
    if (encoding == ImportEncoding::Auto) {
        if (utf8Bom) {
            encoding = ImportEncoding::Utf8;
        } else if (utf16Le || utf16Be) {
            encoding = ImportEncoding::Utf16;
        } else {
            QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            QString text = decoder.decode(bytes);
            if (!decoder.hasError()) {
                encoding = ImportEncoding::Utf8;
                return text;
            }
            encoding = ImportEncoding::Cp1251;
        }
    }
    switch (encoding) {
    case ImportEncoding::Utf16: {
        QStringDecoder decoder(utf16Be ? QStringDecoder::Utf16BE : QStringDecoder::Utf16LE);
        return decoder.decode(bytes.sliced(utf16Le || utf16Be ? 2 : 0));
    }
    case ImportEncoding::Cp1251:
        return FromCp1251(bytes);
    default:
        return QString::fromUtf8(bytes.sliced(utf8Bom ? 3 : 0));
    }
}

std::optional<int> CellNumber(QStringView cell, QString *reason)
{
    qsizetype first = -1;
    qsizetype end = -1;
    for (qsizetype i = 0; i < cell.size(); ++i) {
        if (!IsDigit(cell[i]))
            continue;
        if (first >= 0 && end != i)
            return std::nullopt; // a second run of digits: which is the number?
        if (first < 0)
            first = i;
        end = i + 1;
    }
    if (first < 0)
        return std::nullopt;
    const auto signOrPoint = [](QChar c) {
        return c == u'-' || c == u'+' || c == u'.' || c == u',';
    };
    // A decimal fraction has two runs of digits and is refused above.
    if (first > 0 && signOrPoint(cell[first - 1]))
        return std::nullopt;
    const QStringView digits = cell.sliced(first, end - first);
    if (digits == u"00") {
        if (reason)
            *reason = DoubleZero;
        return std::nullopt;
    }
    if (digits.size() > 2)
        return std::nullopt;
    const int value = digits.toInt();
    if (value > 36)
        return std::nullopt;
    return value;
}

ImportResult ReadSpins(QByteArrayView bytes, const ImportOptions &options,
                       const ImportProgress &progress)
{
    ImportResult result;
    result.encoding = options.encoding;
    const QString text = DecodeImportBytes(bytes, result.encoding);
    Reader reader(options, progress, result);
    const QStringView trimmed = QStringView(text).trimmed();
    if (trimmed.startsWith(u'[') || trimmed.startsWith(u'{'))
        reader.ReadJson(trimmed);
    else
        reader.ReadText(text);
    if (!result.error.isEmpty()) {
        result.spins.clear();
        return result;
    }
    result.order = options.order;
    if (result.order == ImportOrder::Auto)
        result.order = result.singleLine ? ImportOrder::NewestFirst : ImportOrder::OldestFirst;
    if (result.order == ImportOrder::NewestFirst)
        std::reverse(result.spins.begin(), result.spins.end());
    if (result.spins.empty())
        result.error = u"Чисел 0..36 не найдено"_s;
    return result;
}

QString ImportSummary(const ImportResult &result)
{
    QString summary = u"Чисел: %1; пропущено: %2"_s.arg(result.spins.size()).arg(result.skippedCount);
    QStringList cells;
    for (const SkippedCell &cell : result.skipped) {
        QString text = u"стр. %1: «%2»"_s.arg(QString::number(cell.line), cell.text);
        if (!cell.reason.isEmpty())
            text += u" — "_s + cell.reason;
        cells.append(text);
    }
    if (!cells.isEmpty())
        summary += u"\n"_s + cells.join(u"; "_s) +
                   (result.skippedCount > qint64(cells.size()) ? u"; …"_s : QString());
    return summary;
}

QString SpinsAsLines(const std::vector<quint8> &spins)
{
    QString text;
    text.reserve(qsizetype(spins.size()) * 3);
    for (const quint8 spin : spins) {
        if (spin >= 10)
            text += QChar(u'0' + spin / 10);
        text += QChar(u'0' + spin % 10);
        text += u'\n';
    }
    return text;
}

} // namespace trevolo
