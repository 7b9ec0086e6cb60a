#pragma once

#include "analysis/Statistics.h"
#include "analysis/WheelArcs.h"

#include <QPixmap>
#include <QWidget>
#include <array>
#include <optional>

class QPainter;
class QPainterPath;

namespace trevolo {

// The heat wheel: the pockets of the wheel in their order on their red,
// black or green, an outer ring coloured by each pocket's absence against the
// alarm threshold (cool far below it, hot at or above it) and the four
// sectors as arcs inside, the hottest arc outlined. Drawn with vectors at any
// size, so it stays crisp at every pixel density. Its accessible description
// sums up what it shows: the longest absence and the hottest arc. A click on a
// pocket shows its figures as hovering does; it enters nothing.
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
    // The arc outlined; none without spins (centre -1).
    void SetHotArc(const HotArc &arc);
    // A remarkable arc is framed heavily, any other lightly (the default).
    void SetArcRemarkable(bool remarkable);
    bool ArcRemarkable() const { return m_arcRemarkable; }

    // The number of the pocket (or its heat ring) under a point of the
    // widget, or -1.
    int PocketAt(QPointF point) const;
    // What hovering over a pocket shows.
    QString PocketToolTip(int number) const;
    // The heat of a number, 0 (cool) to 1 (at or past the threshold).
    double Heat(int number) const;
    // The colour of the heat ring at a heat of 0 (cool) to 1 (hot).
    static QColor HeatColour(double heat);
    // The colour a sector's name is written in on this background: the
    // sector's own, made dark or light enough to read.
    static QColor SectorCaptionColour(int sector, const QColor &background);

    QSize sizeHint() const override { return {360, 360}; }
    // Drawn as large as the smaller side allows: it takes the room its page
    // leaves beside the figures, no more.
    QSize minimumSizeHint() const override { return {200, 200}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QPointF centre() const;
    double radius() const;
    // The pockets, their numbers and the sectors: all but the heat ring.
    void PaintFace(QPainter &painter) const;
    // The outline of the hottest arc, empty without one.
    QPainterPath ArcOutline() const;
    void UpdateDescription();

    std::array<qint32, WheelSize> m_absence{};
    std::array<qint32, WheelSize> m_occurrence{};
    std::optional<qint32> m_threshold;
    HotArc m_arc;
    bool m_arcRemarkable = false;
    std::array<quint8, WheelSize> m_heat{}; // heat in shades, as painted
    QPixmap m_face;                         // PaintFace at the current size
};

} // namespace trevolo
