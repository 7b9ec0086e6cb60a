#include "app/widgets/Controls.h"

#include <QLabel>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QStyleOptionSlider>

namespace trevolo {

void SetStaysOnTop(QWidget &window, bool onTop)
{
    if (window.windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop)
        return;
    const bool shown = window.isVisible();
    const QPoint where = window.pos();
    window.setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (shown && !window.isVisible()) {
        window.move(where);
        window.show();
    }
}

void SetTooltipBackground(QWidget *widget)
{
    QPalette palette = widget->palette();
    const QColor colour = palette.color(QPalette::ToolTipBase);
    palette.setColor(QPalette::Base, colour);
    palette.setColor(QPalette::Text, palette.color(QPalette::ToolTipText));
    widget->setPalette(palette);
}

void SetLabelCaption(QLabel &label, const QString &caption)
{
    label.setTextFormat(Qt::PlainText);
    if (label.text() == caption)
        return;
    label.setText(caption);
    if (label.minimumWidth() == label.maximumWidth()) {
        if (label.wordWrap()) {
            const int needed = label.heightForWidth(label.width());
            if (needed > label.height())
                label.setFixedHeight(needed);
        }
        return;
    }
    if (label.alignment() & Qt::AlignRight) {
        const QRect before = label.geometry();
        const int width = label.sizeHint().width();
        label.setGeometry(before.x() + before.width() - width, before.y(), width, before.height());
        return;
    }
    label.adjustSize();
}

void SetFittingText(QLineEdit &edit, const QString &text)
{
    if (edit.text() == text)
        return;
    // The room for text: the box less its frame and the edit's own margins.
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.lineWidth = edit.hasFrame()
                           ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit)
                           : 0;
    const QRect contents =
        edit.style()->subElementRect(QStyle::SE_LineEditContents, &option, &edit);
    const QMargins margins = edit.textMargins();
    constexpr int InnerMargin = 2; // the edit keeps this much clear on each side
    const int room = contents.width() - margins.left() - margins.right() - 2 * InnerMargin;

    QFont font = edit.parentWidget() ? edit.parentWidget()->font() : edit.font();
    const qreal full = font.pointSizeF();
    for (qreal size = full; size > 4; size -= 0.5) {
        font.setPointSizeF(size);
        if (QFontMetrics(font).horizontalAdvance(text) <= room)
            break;
    }
    if (edit.font() != font)
        edit.setFont(font);
    edit.setText(text);
    edit.setCursorPosition(0);
}

void SetLabelBold(QLabel &label, bool bold)
{
    if (label.font().bold() == bold)
        return;
    QFont font = label.font();
    font.setBold(bold);
    label.setFont(font);
}

// ------------------------------------------------------------------- TImage

TImage::TImage(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
}

void TImage::SetPicture(const QPixmap &picture)
{
    // The same picture again would only cost a repaint.
    if (pixmap().cacheKey() != picture.cacheKey())
        setPixmap(picture);
}

// ---------------------------------------------------------------- TTrackBar

TTrackBar::TTrackBar(QWidget *parent) : QSlider(Qt::Horizontal, parent)
{
    setTickPosition(QSlider::TicksBelow);
    setTracking(true);
}

void TTrackBar::SetMin(int value)
{
    if (value > maximum())
        return;
    QSlider::setRange(value, maximum());
}

void TTrackBar::SetMax(int value)
{
    if (value < minimum())
        return;
    QSlider::setRange(minimum(), value);
}

void TTrackBar::SetPosition(int value)
{
    QSlider::setValue(value); // clamps, and signals only a real change
}

int TTrackBar::TickX(int value) const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    const int span = groove.width() - handle.width();
    return groove.x() + handle.width() / 2 +
           QStyle::sliderPositionFromValue(minimum(), maximum(), value, span);
}

// ---------------------------------------------------------------- TComboBox

TComboBox::TComboBox(QWidget *parent) : QComboBox(parent)
{
    setEditable(false);
    connect(this, &QComboBox::activated, this, &TComboBox::userChanged);
}

void TComboBox::SetItemIndex(int index)
{
    setCurrentIndex(index >= 0 && index < count() ? index : -1);
}

// --------------------------------------------------------------- TStatusBar

TStatusBar::TStatusBar(QWidget *parent) : QStatusBar(parent), m_text(new QLabel(this))
{
    setSizeGripEnabled(false);
    m_text->setTextFormat(Qt::PlainText);
    addWidget(m_text, 1);
}

QString TStatusBar::SimpleText() const
{
    return m_text->text();
}

void TStatusBar::SetSimpleText(const QString &text)
{
    SetTextIfChanged(*m_text, text);
}

} // namespace trevolo
