#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace trevolo {

// The spin history is the text of the history box, one spin per line, oldest
// first. In memory its lines are separated by "\n"; in a history file by the
// bytes CR LF, in code page 1251.

// True when the history text is empty or its last character is a line
// break ("\n", or a lone "\r" not yet normalised).
bool EndsWithLineBreak(QStringView text) noexcept;

// The append rule: what to insert at the end of the history text to append
// `line` as its new last line. line + "\n" when the text ends with a line
// break (an empty text counts as one), otherwise "\n" + line, so a text that
// ended without a final break still does. The caller says which case holds,
// so the history memo can tell without copying its text.
QString TextToAppend(bool endsWithLineBreak, QStringView line);

// The in-memory form: every CR LF, lone CR and lone LF becomes one "\n".
// Nothing else changes (NUL and any other characters are kept).
QString NormaliseLineBreaks(QStringView text);

// The file form of the history text: code page 1251 bytes, each line break
// written as CR LF. The file ends with CR LF exactly when the text ends with
// a line break; an empty text gives no bytes.
QByteArray HistoryToFileBytes(QStringView history);

// The history text that a file's bytes hold: decoded from code page 1251 with
// its line breaks normalised.
QString HistoryFromFileBytes(QByteArrayView bytes);

} // namespace trevolo
