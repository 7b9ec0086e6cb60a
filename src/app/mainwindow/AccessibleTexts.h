#pragma once

#include "analysis/NumberClasses.h"
#include "analysis/RiskColours.h"

#include <QList>
#include <QString>
#include <array>
#include <optional>

class QLabel;
class QWidget;

namespace trevolo {

// Accessible names for what a screen reader cannot learn from a control
// alone: an edit or slider is named after the caption beside it, a count
// label reads as its number's caption and the count ("17: 5"), and an
// indicator row's caption label reads as the row's state ("Красное: не
// выпадает 3 спина, уровень жёлтый") rather than leaving it to the colour and
// number of the pictures. Each ball of a row reads as the run it stands for
// and its colour ("Красное, 3 спина подряд, уровень жёлтый").
// Names are written only when they change.
class TAccessibleTexts
{
public:
    // The control is named after the caption label: its text without the
    // closing colon, followed by ", " and the detail when there is one.
    void AddCaptioned(QWidget *control, const QLabel *caption, const QString &detail = QString());
    // The count label of a number, whose caption is "<word> - <number>:" or
    // "<word>:"; it reads as CountSpoken tells, after "<number>" or "<word>",
    // as an occurrence count or an absence.
    void AddCount(QLabel *count, const QLabel *caption, bool occurrence);
    // An indicator row: its caption label and its combination group 1..12;
    // the row reads as RowSpoken tells it, from the group's run and the
    // colour its last ball shows at the risk boundaries.
    void AddRow(QLabel *caption, int group);
    // The ball for a run of `level` misses (1..10) in that row.
    void AddBall(QWidget *ball, const QLabel *caption, int group, int level);

    // Every name, after captions may have changed.
    void RefreshNames();
    // The counts after a statistics pass. Only a count whose text or
    // caption changed gets a new name; the rest costs a comparison or two
    // each.
    void Update();
    // The rows after a statistics pass (the runs, by group; entry 0 unused)
    // or a change of the risk boundaries; only a row whose run, colour or
    // caption changed gets a new name.
    using Runs = std::array<qint32, CombinationCount + 1>;
    void FollowRuns(const Runs &runs);
    void FollowBoundaries(const RiskBoundaries &boundaries);

    // A caption as it is spoken: without blanks around it and without the
    // closing colon ("Красное:" gives "Красное").
    static QString Spoken(const QString &caption);

private:
    struct Captioned
    {
        QWidget *control;
        const QLabel *caption;
        QString detail;
    };
    struct Count
    {
        QLabel *label;
        const QLabel *caption;
        bool occurrence;
        QString shownCount;   // the count and caption last named
        QString shownCaption; // (null before the first naming)
    };
    struct Row
    {
        QLabel *caption;
        int group;
        qint32 shownRun = -1; // what was last named (-1 before the first naming)
        std::optional<IndicatorPicture> shownLevel;
        QString shownCaption;
    };

    struct Ball
    {
        QWidget *image;
        const QLabel *caption;
        int group;
        int level;
    };

    void updateCount(Count &count, bool force);
    void updateBalls();
    void updateRow(Row &row, bool force);

    QList<Captioned> m_captioned;
    QList<Count> m_counts;
    QList<Row> m_rows;
    QList<Ball> m_balls;
    Runs m_runs{};
    RiskBoundaries m_boundaries;
};

} // namespace trevolo
