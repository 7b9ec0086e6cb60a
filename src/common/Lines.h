#pragma once

#include <QStringView>

namespace trevolo {

// The one rule that cuts a text into lines: a line ends at CR LF, at a lone
// CR, at a lone LF, and at the line and paragraph separators U+2028 and
// U+2029 (which an editor keeps for a line break typed into it).
constexpr bool IsLineBreak(char16_t c) noexcept
{
    return c == u'\n' || c == u'\r' || c == u'\x2028' || c == u'\x2029';
}

// Calls visit(QStringView line) for each line of `text` in order. The piece
// after the last break is a line too when it is not empty, or, with
// `EmptyLastIsLine`, always (an empty text is then one empty line).
template <bool EmptyLastIsLine, typename Visit>
void SplitLines(QStringView text, Visit &&visit)
{
    const char16_t *p = text.utf16();
    const char16_t *const end = p + text.size();
    const char16_t *start = p;
    while (p != end) {
        const char16_t c = *p;
        if (IsLineBreak(c)) {
            visit(QStringView(start, p));
            ++p;
            if (c == u'\r' && p != end && *p == u'\n')
                ++p;
            start = p;
        } else {
            ++p;
        }
    }
    if (EmptyLastIsLine || start != end)
        visit(QStringView(start, end));
}

// A text's own lines: an empty last line (the text ends with a break, or is
// empty) is no line.
template <typename Visit>
void ForEachLine(QStringView text, Visit &&visit)
{
    SplitLines<false>(text, visit);
}

inline qint32 CountLines(QStringView text)
{
    qint32 count = 0;
    ForEachLine(text, [&count](QStringView) { ++count; });
    return count;
}

} // namespace trevolo
