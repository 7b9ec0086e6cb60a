#pragma once

#include <QList>
#include <QString>

class QLabel;
class QWidget;

namespace trevolo {

// Accessible names for what a screen reader cannot learn from a control
// alone: an edit or slider is named after the caption beside it, a count
// label reads as its number's caption and the count ("17: 5"), and an
// indicator row's caption label reads as the row's state ("Красное: 3 из 10")
// rather than leaving it to the colour and number of the pictures.
// Names are written only when they change.
class TAccessibleTexts
{
public:
    // The control is named after the caption label: its text without the
    // closing colon, followed by ", " and the detail when there is one.
    void AddCaptioned(QWidget *control, const QLabel *caption, const QString &detail = QString());
    // The count label of a number, whose caption is "<word> - <number>:" or
    // "<word>:"; it reads "<number>: <count>" or "<word>: <count>".
    void AddCount(QLabel *count, const QLabel *caption);
    // An indicator row: its caption label and its pictures, level 1 first;
    // the row reads "<caption>: <shown pictures> из <all pictures>".
    void AddRow(QLabel *caption, const QList<QWidget *> &pictures);

    // Every name, after captions may have changed.
    void RefreshNames();
    // The counts and rows after a statistics pass. Only a count or row whose
    // text or caption changed gets a new name; the rest costs a comparison
    // or two each.
    void Update();

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
        QString shownCount;   // the count and caption last named
        QString shownCaption; // (null before the first naming)
    };
    struct Row
    {
        QLabel *caption;
        QList<QWidget *> pictures;
        int shown = -1;
        QString shownCaption;
    };

    void updateCount(Count &count, bool force);
    void updateRow(Row &row, bool force);

    QList<Captioned> m_captioned;
    QList<Count> m_counts;
    QList<Row> m_rows;
};

} // namespace trevolo
