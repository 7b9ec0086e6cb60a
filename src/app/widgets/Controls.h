#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QPixmap>
#include <QSlider>
#include <QStatusBar>

namespace trevolo {

// Writes a text only when it differs from the one shown: most of a window
// stays as it was on a statistics pass, and an unchanged text then costs
// nothing. For labels, line edits, table cells and the like.
template <typename T>
void SetTextIfChanged(T &target, const QString &text)
{
    if (target.text() != text)
        target.setText(text);
}

// Sets or clears a top-level window's "stay on top" flag. A new window style
// hides a shown window; it comes back where it was.
void SetStaysOnTop(QWidget &window, bool onTop);

// Gives a text box the tooltip background colour (pale yellow).
void SetTooltipBackground(QWidget *widget);

// Sets a label's caption as plain text and sizes the label the way the
// layout's labels size themselves: a label of fixed width keeps its geometry
// (a word-wrapped one grows in height when the text needs it), a
// right-aligned label keeps its right edge, any other keeps its top left
// corner and takes the size of its text.
void SetLabelCaption(QLabel &label, const QString &caption);

// Sets a read-only line edit's text, in a font made just small enough for the
// whole text to show (the window's own size at most), from its first
// character. The text is written only when it changes.
void SetFittingText(QLineEdit &edit, const QString &text);

// Makes a label's font bold or regular; the font is written only when that
// changes.
void SetLabelBold(QLabel &label, bool bold);

// Horizontal slider over an integer range with the rules the window relies
// on: a new minimum above the maximum, or a new maximum below the minimum, is
// ignored; a position is always clamped into the range; and valueChanged(int)
// fires at once, inside the operation, exactly when the position changes
// (also when a new limit moves it, and when the user drags the thumb).
// Use Min/Max/Position and their setters; QSlider's own range setters, which
// move the other limit instead of refusing, are hidden.
class TTrackBar : public QSlider
{
    Q_OBJECT

public:
    explicit TTrackBar(QWidget *parent = nullptr);

    int Min() const { return minimum(); }
    int Max() const { return maximum(); }
    int Position() const { return value(); }

    void SetMin(int value);
    void SetMax(int value);
    void SetPosition(int value);
    void SetFrequency(int ticks) { setTickInterval(ticks); }

    // The x coordinate, in this widget, of the tick drawn for a value.
    int TickX(int value) const;

    void setMinimum(int) = delete;
    void setMaximum(int) = delete;
    void setRange(int, int) = delete;
    void setValue(int) = delete;
};

// Drop-down list that cannot be edited. ItemIndex is 0..count-1, or -1 when
// nothing is selected; SetItemIndex with an index outside the items selects
// nothing. userChanged() fires only when the user picks an item, never when
// the program sets the selection.
class TComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit TComboBox(QWidget *parent = nullptr);

    int ItemIndex() const { return currentIndex(); }
    void SetItemIndex(int index);

Q_SIGNALS:
    void userChanged();
};

// A 16 x 16 picture. A label that only ever shows a pixmap, kept as a kind
// of its own so that code walking the window's labels can leave it alone.
class TImage : public QLabel
{
    Q_OBJECT

public:
    explicit TImage(QWidget *parent = nullptr);

    QPixmap Picture() const { return pixmap(); }
    void SetPicture(const QPixmap &picture);
};

// Status bar with one simple text and no size grip. The text sits in a label
// of its own, so menu status tips cannot wipe it.
class TStatusBar : public QStatusBar
{
    Q_OBJECT

public:
    explicit TStatusBar(QWidget *parent = nullptr);

    QString SimpleText() const;
    void SetSimpleText(const QString &text);

private:
    QLabel *m_text;
};

} // namespace trevolo
