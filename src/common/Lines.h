#pragma once

#include <QStringView>

namespace trevolo {

// A text's own lines: a line ends at CR LF, at a lone CR or at a lone LF, and
// an empty last line (the text ends with a break, or is empty) is no line.
// Calls visit(QStringView line) for each line in order.
template <typename Visit>
void ForEachLine(QStringView text, Visit &&visit)
{
    const char16_t *p = text.utf16();
    const char16_t *const end = p + text.size();
    const char16_t *start = p;
    while (p != end) {
        const char16_t c = *p;
        if (c == u'\n' || c == u'\r') {
            visit(QStringView(start, p));
            ++p;
            if (c == u'\r' && p != end && *p == u'\n')
                ++p;
            start = p;
        } else {
            ++p;
        }
    }
    if (start != end)
        visit(QStringView(start, end));
}

inline qint32 CountLines(QStringView text)
{
    qint32 count = 0;
    ForEachLine(text, [&count](QStringView) { ++count; });
    return count;
}

} // namespace trevolo
