#include "app/mainwindow/AccessibleTexts.h"

#include "app/mainwindow/FigureTexts.h"

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

void TAccessibleTexts::AddCount(QLabel *count, const QLabel *caption, bool occurrence)
{
    m_counts.append({count, caption, occurrence, QString(), QString()});
}

void TAccessibleTexts::AddRow(QLabel *caption, int group)
{
    m_rows.append({caption, group, -1, std::nullopt, QString()});
}

void TAccessibleTexts::AddBall(QWidget *ball, const QLabel *caption, int group, int level)
{
    m_balls.append({ball, caption, group, level});
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
    updateBalls();
}

void TAccessibleTexts::Update()
{
    for (Count &count : m_counts)
        updateCount(count, false);
}

void TAccessibleTexts::FollowRuns(const Runs &runs)
{
    m_runs = runs;
    for (Row &row : m_rows)
        updateRow(row, false);
}

void TAccessibleTexts::FollowBoundaries(const RiskBoundaries &boundaries)
{
    m_boundaries = boundaries;
    for (Row &row : m_rows)
        updateRow(row, false);
    updateBalls();
}

void TAccessibleTexts::updateBalls()
{
    for (const Ball &ball : std::as_const(m_balls)) {
        const IndicatorPicture picture = PictureForLevel(ball.level, m_boundaries.Lower(ball.group),
                                                         m_boundaries.Upper(ball.group));
        SetName(*ball.image, BallSpoken(Spoken(ball.caption->text()), ball.level, picture));
    }
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
    SetName(*count.label, CountSpoken(number, text, count.occurrence));
}

void TAccessibleTexts::updateRow(Row &row, bool force)
{
    const qint32 run = m_runs[size_t(row.group)];
    const std::optional<IndicatorPicture> level =
        PictureForRun(run, m_boundaries.Lower(row.group), m_boundaries.Upper(row.group));
    const QString caption = row.caption->text();
    if (!force && run == row.shownRun && level == row.shownLevel && caption == row.shownCaption)
        return;
    row.shownRun = run;
    row.shownLevel = level;
    row.shownCaption = caption;
    SetName(*row.caption, RowSpoken(Spoken(caption), run, level));
}

} // namespace trevolo
