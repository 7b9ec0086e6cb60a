#pragma once

#include "analysis/Statistics.h"

#include <QPixmap>
#include <QWidget>
#include <array>
#include <optional>

class QPainter;

namespace trevolo {

// The heat wheel: the pockets of the wheel in their order on their red,
// black or green, an outer ring coloured by each pocket's absence against the
// alarm threshold (cool far below it, hot at or above it) and the four
// sectors as arcs inside. Drawn with vectors at any size, so it stays crisp
// at every pixel density.
class WheelView : public QWidget
{
    Q_OBJECT

public:
    explicit WheelView(QWidget *parent = nullptr);

    // The counts it shows; without a threshold the heat is measured against
    // the longest absence. Repaints only when something changed.
    void SetFigures(const std::array<qint32, WheelSize> &absence,
                    const std::array<qint32, WheelSize> &occurrence,
                    std::optional<qint32> threshold);

    // The number of the pocket (or its heat ring) under a point of the
    // widget, or -1.
    int PocketAt(QPointF point) const;
    // What hovering over a pocket shows.
    QString PocketToolTip(int number) const;
    // The heat of a number, 0 (cool) to 1 (at or past the threshold).
    double Heat(int number) const;

    QSize sizeHint() const override { return {360, 360}; }
    QSize minimumSizeHint() const override { return {200, 200}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return width; }

Q_SIGNALS:
    void pocketClicked(int number);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;

private:
    QPointF centre() const;
    double radius() const;
    // The pockets, their numbers and the sectors: all but the heat ring.
    void PaintFace(QPainter &painter) const;

    std::array<qint32, WheelSize> m_absence{};
    std::array<qint32, WheelSize> m_occurrence{};
    std::optional<qint32> m_threshold;
    std::array<quint8, WheelSize> m_heat{}; // heat in shades, as painted
    QPixmap m_face;                         // PaintFace at the current size
};

} // namespace trevolo
