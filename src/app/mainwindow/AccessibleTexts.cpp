#include "app/mainwindow/AccessibleTexts.h"

#include <QLabel>
#include <QWidget>

namespace trevolo {

namespace {

void SetName(QWidget &widget, const QString &name)
{
    if (widget.accessibleName() != name)
        widget.setAccessibleName(name);
}

} // namespace

QString TAccessibleTexts::Spoken(const QString &caption)
{
    QString spoken = caption.trimmed();
    if (spoken.endsWith(u':'))
        spoken.chop(1);
    return spoken.trimmed();
}

void TAccessibleTexts::AddCaptioned(QWidget *control, const QLabel *caption, const QString &detail)
{
    m_captioned.append({control, caption, detail});
}

void TAccessibleTexts::AddCount(QLabel *count, const QLabel *caption)
{
    m_counts.append({count, caption, QString(), QString()});
}

void TAccessibleTexts::AddRow(QLabel *caption, const QList<QWidget *> &pictures)
{
    m_rows.append({caption, pictures, -1, QString()});
}

void TAccessibleTexts::RefreshNames()
{
    for (const Captioned &entry : std::as_const(m_captioned)) {
        const QString spoken = Spoken(entry.caption->text());
        SetName(*entry.control,
                entry.detail.isEmpty() ? spoken : spoken + QStringLiteral(", ") + entry.detail);
    }
    for (Count &count : m_counts)
        updateCount(count, true);
    for (Row &row : m_rows)
        updateRow(row, true);
}

void TAccessibleTexts::Update()
{
    for (Count &count : m_counts)
        updateCount(count, false);
    for (Row &row : m_rows)
        updateRow(row, false);
}

void TAccessibleTexts::updateCount(Count &count, bool force)
{
    const QString text = count.label->text();
    const QString caption = count.caption->text();
    if (!force && text == count.shownCount && caption == count.shownCaption)
        return;
    count.shownCount = text;
    count.shownCaption = caption;
    // "Число - 17:" is spoken as "17"; "Зеро:" as it stands.
    const qsizetype dash = caption.lastIndexOf(u" - ");
    const QString number = Spoken(dash < 0 ? caption : caption.mid(dash + 3));
    SetName(*count.label, number + QStringLiteral(": ") + text);
}

void TAccessibleTexts::updateRow(Row &row, bool force)
{
    int shown = 0;
    for (const QWidget *picture : std::as_const(row.pictures))
        shown += !picture->isHidden();
    const QString caption = row.caption->text();
    if (!force && shown == row.shown && caption == row.shownCaption)
        return;
    row.shown = shown;
    row.shownCaption = caption;
    SetName(
        *row.caption,
        QStringLiteral("%1: %2 из %3").arg(Spoken(caption)).arg(shown).arg(row.pictures.size()));
}

} // namespace trevolo
