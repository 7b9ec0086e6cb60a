#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringView>
#include <QTextDocument>
#include <optional>

namespace trevolo {

// A copy of a text document's text, kept up to date from its contentsChange:
// the raw text with every paragraph and soft line break as "\n", a folded
// line (FoldedLines.h) as its object character. Handing it out costs no pass
// over the document, which for a long history takes tens of milliseconds;
// an edit costs a read of what it added. A copy that is not known yet, or
// that fell out of step with the document (its length tells), is read whole
// from the document at the next look, once.
class TextMirror : public QObject
{
    Q_OBJECT

public:
    explicit TextMirror(QObject *parent = nullptr);

    // Follows `document` from now on. `text` is its text in this form when
    // the caller knows it; without it the document is read at the first look.
    void Watch(QTextDocument *document, std::optional<QString> text = std::nullopt);

    // The copy, read first if it is not known or out of step.
    const QString &Text();
    // The copy as it is, when it is known: for a document set aside.
    std::optional<QString> Known() const;

    // Times the document was read whole because the copy was out of step
    // with it (not counting a first read).
    int Rereads() const { return m_rereads; }

    // The form of a text that QTextCursor::insertText (or setPlainText) put
    // into a document: "\r\n", a lone "\r", U+2028, U+2029 and the frame
    // marks that insertText takes as breaks, each as one "\n".
    static QString FormOf(QString inserted);

private:
    void OnContentsChange(int position, int removed, int added);
    void ReadAll();

    QPointer<QTextDocument> m_document;
    QMetaObject::Connection m_connection;
    QString m_text;
    bool m_known = false;
    int m_rereads = 0;
};

} // namespace trevolo
