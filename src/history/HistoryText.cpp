#include "history/HistoryText.h"

#include "common/Cp1251.h"

namespace trevolo {

namespace {

bool IsBreak(QChar c) noexcept
{
    return c == u'\n' || c == u'\r';
}

} // namespace

bool EndsWithLineBreak(QStringView text) noexcept
{
    return text.isEmpty() || IsBreak(text.back());
}

QString TextToAppend(bool endsWithLineBreak, QStringView line)
{
    QString result;
    result.reserve(line.size() + 1);
    if (endsWithLineBreak) {
        result.append(line);
        result.append(u'\n');
    } else {
        result.append(u'\n');
        result.append(line);
    }
    return result;
}

QString NormaliseLineBreaks(QStringView text)
{
    QString result;
    result.reserve(text.size());
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            result.append(u'\n');
            if (i + 1 < size && text[i + 1] == u'\n')
                ++i;
        } else {
            result.append(c);
        }
    }
    return result;
}

QByteArray HistoryToFileBytes(QStringView history)
{
    // Normalise first, so a stray CR (or a CR LF pair) is written as one
    // CR LF rather than doubled.
    const QString normalised = NormaliseLineBreaks(history);
    QString fileText;
    fileText.reserve(normalised.size() + normalised.count(u'\n'));
    for (const QChar c : normalised) {
        if (c == u'\n')
            fileText.append(u'\r');
        fileText.append(c);
    }
    return ToCp1251(fileText);
}

QString HistoryFromFileBytes(QByteArrayView bytes)
{
    return NormaliseLineBreaks(FromCp1251(bytes));
}

} // namespace trevolo
