#include "settings/AuxilaryUnit.h"

#include "common/Cp1251.h"
#include "common/Error.h"
#include "common/IntegerText.h"
#include "common/SystemError.h"
#include "common/WholeFile.h"

#include <algorithm>
#include <cerrno>

namespace trevolo {

namespace {

// Section names and keys match regardless of letter case, Cyrillic included.
QString Folded(QStringView text)
{
    return text.toString().toCaseFolded();
}

constexpr char16_t EndOfFileMark = 26; // Ctrl-Z
constexpr QStringView OpeningMark = u"=\"";
constexpr QStringView LineEnd = u"\r\n";
constexpr qsizetype EntryIndent = 2;

} // namespace

// Reads the lines of a file into a document. The reader keeps the current
// section and one pending entry, which is finished (stored) when the next
// header or entry line comes, or when the file ends.
class TINIView::Reader
{
public:
    explicit Reader(TINIView &document) : m_document(document) {}

    // Reads the lines of `text`. When the file could not be read to its end,
    // only its complete lines count and the pending entry stays unfinished.
    void Read(QStringView text, bool wholeFile)
    {
        if (!wholeFile) {
            const qsizetype lastBreak = text.lastIndexOf(u'\n');
            text = text.first(lastBreak + 1);
        }

        const QChar *p = text.begin();
        const QChar *const end = text.end();
        while (p != end) {
            if (p->unicode() == EndOfFileMark)
                break;
            const QChar *const lineEnd = std::find(p, end, QChar(u'\n'));
            QStringView raw(p, lineEnd);
            p = lineEnd == end ? end : lineEnd + 1;

            // Ctrl-Z inside a line ends that line's text.
            const qsizetype mark = raw.indexOf(QChar(EndOfFileMark));
            if (mark >= 0)
                raw = raw.first(mark);
            // A CR ends a line only together with the LF after it; any
            // other CR is dropped.
            if (raw.contains(u'\r')) {
                QString clean;
                clean.reserve(raw.size());
                for (const QChar c : raw) {
                    if (c != u'\r')
                        clean.append(c);
                }
                Line(clean);
            } else {
                Line(raw);
            }
        }

        if (wholeFile && !m_pendingKey.isEmpty())
            FinishEntry();
    }

private:
    void Line(QStringView line)
    {
        // Header: "[" in the first column and "]" as the very last character.
        if (line.size() >= 2 && line.front() == u'[' && line.back() == u']') {
            FinishEntry();
            m_current = &m_document.AppendSection(line.sliced(1, line.size() - 2).toString());
            m_pendingKey.clear();
            return;
        }

        // Entry: the first two characters are the indentation, whatever they
        // are; the key runs up to the first "=", the value starts after the
        // first opening mark.
        const qsizetype mark = line.indexOf(OpeningMark);
        if (mark >= 0) {
            FinishEntry();
            const qsizetype equals = line.indexOf(u'=');
            m_pendingKey = equals > EntryIndent
                               ? line.sliced(EntryIndent, equals - EntryIndent).toString()
                               : QString();
            if (Collecting())
                m_pendingValue = line.sliced(mark + OpeningMark.size()).toString();
            return;
        }

        // Anything else continues the pending value.
        if (Collecting()) {
            m_pendingValue += LineEnd;
            m_pendingValue += line;
        }
    }

    // Whether the pending value can end up stored; when not, it is not kept.
    bool Collecting() const { return m_current != nullptr && !m_pendingKey.isEmpty(); }

    void FinishEntry()
    {
        if (Collecting()) {
            // The value ends at its last double quote; the rest is dropped.
            // A copy of its own, so that the stored value does not keep the
            // whole buffer of a long pending text alive.
            const qsizetype quote = m_pendingValue.lastIndexOf(u'"');
            m_current->SetValue(
                m_pendingKey,
                QStringView(m_pendingValue).first(std::max<qsizetype>(quote, 0)).toString());
        }
        m_pendingValue.clear();
    }

    TINIView &m_document;
    TSection *m_current = nullptr;
    QString m_pendingKey;
    QString m_pendingValue;
};

// TSection

TSection::TSection(QString name) : m_name(std::move(name)) {}

qsizetype TSection::IndexOfKey(QStringView key) const
{
    return m_keyIndex.value(Folded(key), -1);
}

void TSection::SetValue(const QString &key, const QString &value)
{
    QString folded = Folded(key);
    const auto found = m_keyIndex.constFind(folded);
    if (found != m_keyIndex.constEnd()) {
        m_values[*found] = value;
        return;
    }
    m_keyIndex.insert(std::move(folded), m_keys.size());
    m_keys.append(key);
    m_values.append(value);
}

// TINIView

TINIView::TINIView() = default;
TINIView::~TINIView() = default;

void TINIView::Clear()
{
    m_sections.clear();
    m_sectionNames.clear();
    m_firstSection.clear();
}

TSection &TINIView::AppendSection(const QString &name)
{
    QString folded = Folded(name);
    if (!m_firstSection.contains(folded))
        m_firstSection.insert(std::move(folded), qsizetype(m_sections.size()));
    m_sections.push_back(std::make_unique<TSection>(name));
    m_sectionNames.append(name);
    return *m_sections.back();
}

void TINIView::LoadFromFile(const QString &fileName)
{
    QByteArray bytes;
    const auto failure = ReadWholeFile(fileName, bytes, MaxSettingsFileBytes);
    // A file over the limit is refused as a whole, also when it grew past it
    // while being read.
    if (failure && failure->error == EFBIG)
        throw IoError(QStringLiteral("File too large"));
    Reader(*this).Read(FromCp1251(bytes), !failure);
    if (failure)
        ThrowIoError(failure->error);
}

void TINIView::LoadFromBytes(QByteArrayView bytes)
{
    Reader(*this).Read(FromCp1251(bytes), true);
}

QByteArray TINIView::SaveToBytes() const
{
    QString text;
    for (const auto &section : m_sections) {
        text += LineEnd;
        text += u'[';
        text += section->Name();
        text += u']';
        text += LineEnd;
        text += LineEnd;
        const QStringList &keys = section->Keys();
        const QStringList &values = section->Values();
        for (qsizetype i = 0; i < keys.size(); ++i) {
            text += u"  ";
            text += keys.at(i);
            text += OpeningMark;
            text += values.at(i);
            text += u'"';
            text += LineEnd;
        }
    }
    return ToCp1251(text);
}

void TINIView::SaveToFile(const QString &fileName, const QString &backupFolder) const
{
    if (const auto failure = SaveWholeFile(fileName, SaveToBytes(), backupFolder))
        throw IoError(WithKeptCopy(RunTimeIoMessage(failure->error), *failure));
}

TSection *TINIView::FindSection(QStringView name)
{
    const qsizetype index = m_firstSection.value(Folded(name), -1);
    return index < 0 ? nullptr : m_sections[size_t(index)].get();
}

const TSection *TINIView::FindSection(QStringView name) const
{
    return const_cast<TINIView *>(this)->FindSection(name);
}

QString TINIView::ReadString(QStringView section, QStringView key,
                             const QString &defaultValue) const
{
    const TSection *found = FindSection(section);
    if (found == nullptr)
        return defaultValue;
    const qsizetype index = found->IndexOfKey(key);
    return index < 0 ? defaultValue : found->Values().at(index);
}

bool TINIView::ReadBool(QStringView section, QStringView key, bool defaultValue) const
{
    const QString text =
        ReadString(section, key, defaultValue ? QStringLiteral("-1") : QStringLiteral("0"));
    return TextToBool(text).value_or(defaultValue);
}

qint32 TINIView::ReadInteger(QStringView section, QStringView key, qint32 defaultValue) const
{
    return TryStrToInt(ReadString(section, key, IntToStr(defaultValue))).value_or(defaultValue);
}

void TINIView::WriteString(QStringView section, QStringView key, const QString &value)
{
    TSection *found = FindSection(section);
    if (found == nullptr)
        found = &AppendSection(section.toString());
    found->SetValue(key.toString(), value);
}

void TINIView::WriteBool(QStringView section, QStringView key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("-1") : QStringLiteral("0"));
}

void TINIView::WriteInteger(QStringView section, QStringView key, qint32 value)
{
    WriteString(section, key, IntToStr(value));
}

std::optional<bool> TextToBool(QStringView text)
{
    // A decimal number, integer or not, with an optional exponent and blanks
    // around it: true when any digit of the mantissa is not zero.
    const qsizetype size = text.size();
    qsizetype i = 0;
    auto isDigit = [&text](qsizetype at) { return text[at] >= u'0' && text[at] <= u'9'; };
    auto skipBlanks = [&] {
        while (i < size && text[i] == u' ')
            ++i;
    };

    skipBlanks();
    if (i < size && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    bool anyDigit = false;
    bool nonZero = false;
    auto mantissaDigits = [&] {
        for (; i < size && isDigit(i); ++i) {
            anyDigit = true;
            nonZero = nonZero || text[i] != u'0';
        }
    };
    mantissaDigits();
    if (i < size && text[i] == u'.') {
        ++i;
        mantissaDigits();
    }
    if (anyDigit) {
        bool wellFormed = true;
        if (i < size && (text[i] == u'e' || text[i] == u'E')) {
            ++i;
            if (i < size && (text[i] == u'+' || text[i] == u'-'))
                ++i;
            const qsizetype firstExponentDigit = i;
            while (i < size && isDigit(i))
                ++i;
            wellFormed = i > firstExponentDigit;
        }
        skipBlanks();
        if (wellFormed && i == size)
            return nonZero;
    }

    if (text.compare(u"true", Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(u"false", Qt::CaseInsensitive) == 0)
        return false;
    return std::nullopt;
}

} // namespace trevolo
