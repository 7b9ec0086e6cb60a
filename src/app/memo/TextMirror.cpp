#include "app/memo/TextMirror.h"

#include <QTextCursor>
#include <algorithm>

namespace trevolo {

namespace {

// The frame marks a QTextCursor insertion takes for paragraph breaks.
constexpr char16_t BeginningOfFrame = 0xFDD0;
constexpr char16_t EndOfFrame = 0xFDD1;

bool IsBreak(QChar c)
{
    return c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == BeginningOfFrame ||
           c == EndOfFrame;
}

// The document's raw text from `from` to `to`, breaks as "\n".
QString Stretch(QTextDocument &document, int from, int to)
{
    if (to <= from)
        return QString();
    QTextCursor cursor(&document);
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    QString text = cursor.selectedText();
    for (QChar &c : text) {
        if (IsBreak(c))
            c = u'\n';
    }
    return text;
}

} // namespace

TextMirror::TextMirror(QObject *parent) : QObject(parent) {}

void TextMirror::Watch(QTextDocument *document, std::optional<QString> text)
{
    disconnect(m_connection);
    m_document = document;
    m_known = text.has_value();
    m_text = text ? std::move(*text) : QString();
    if (document)
        m_connection =
            connect(document, &QTextDocument::contentsChange, this, &TextMirror::OnContentsChange);
}

const QString &TextMirror::Text()
{
    const int length = m_document ? m_document->characterCount() - 1 : 0;
    if (m_known && m_text.size() != length)
        ++m_rereads;
    if (!m_known || m_text.size() != length)
        ReadAll();
    return m_text;
}

std::optional<QString> TextMirror::Known() const
{
    if (!m_known)
        return std::nullopt;
    return m_text;
}

void TextMirror::OnContentsChange(int position, int removed, int added)
{
    if (!m_known || !m_document)
        return;
    // Qt counts the document's closing paragraph break in some reports (a
    // whole document replaced), which no copy holds: both ends are cut to
    // the texts there are.
    const int length = m_document->characterCount() - 1;
    if (position < 0 || position > m_text.size()) {
        m_known = false;
        return;
    }
    const qsizetype gone = std::min<qsizetype>(removed, m_text.size() - position);
    const int end = std::min(position + added, length);
    m_text.replace(position, gone, Stretch(*m_document, position, end));
}

void TextMirror::ReadAll()
{
    m_text = m_document ? FormOf(m_document->toRawText()) : QString();
    m_known = true;
}

QString TextMirror::FormOf(QString inserted)
{
    if (!inserted.contains(u'\r')) {
        for (QChar &c : inserted) {
            if (IsBreak(c))
                c = u'\n';
        }
        return inserted;
    }
    QString text;
    text.reserve(inserted.size());
    for (qsizetype i = 0; i < inserted.size(); ++i) {
        const QChar c = inserted[i];
        if (c == u'\r') {
            if (i + 1 < inserted.size() && inserted[i + 1] == u'\n')
                ++i;
            text.append(u'\n');
        } else {
            text.append(IsBreak(c) ? QChar(u'\n') : c);
        }
    }
    return text;
}

} // namespace trevolo
