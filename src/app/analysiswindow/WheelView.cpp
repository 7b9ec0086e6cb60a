#include "app/analysiswindow/WheelView.h"

#include "app/widgets/PocketColours.h"

#include "analysis/Chances.h"
#include "analysis/NumberClasses.h"
#include "common/IntegerText.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QToolTip>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace trevolo {

namespace {

constexpr double PocketDegrees = 360.0 / WheelSize;
constexpr int HeatLevels = 64; // shades of the heat ring

// Radii as parts of the wheel's radius, from the rim inwards.
constexpr double HeatOuter = 1.0, HeatInner = 0.88;
constexpr double PocketOuter = 0.86, PocketInner = 0.66;
constexpr double SectorOuter = 0.62, SectorInner = 0.55; // the three that share the wheel
constexpr double ZeroGameOuter = 0.52, ZeroGameInner = 0.46;

const QColor SectorColours[SectorCount] = {QColor(0x2e, 0x7d, 0xd1), QColor(0xe0, 0x8a, 0x1e),
                                           QColor(0x8e, 0x44, 0xad), QColor(0x1f, 0xa0, 0x6a)};

// Where the pocket at `index` in wheel order starts, in degrees clockwise
// from the top.
double pocketStart(int index)
{
    return (index - 0.5) * PocketDegrees;
}

// A ring piece between two radii from a clockwise angle, both in degrees from
// the top, as QPainter's counter-clockwise angles from three o'clock want it.
QPainterPath ringPiece(QPointF centre, double outer, double inner, double start, double sweep)
{
    const QRectF outerBox(centre.x() - outer, centre.y() - outer, 2 * outer, 2 * outer);
    const QRectF innerBox(centre.x() - inner, centre.y() - inner, 2 * inner, 2 * inner);
    const double from = 90 - start;
    QPainterPath path;
    path.arcMoveTo(outerBox, from);
    path.arcTo(outerBox, from, -sweep);
    path.arcTo(innerBox, from - sweep, sweep);
    path.closeSubpath();
    return path;
}

QPointF pointAt(QPointF centre, double distance, double degrees)
{
    const double radians = degrees * std::numbers::pi / 180;
    return {centre.x() + distance * std::sin(radians), centre.y() - distance * std::cos(radians)};
}

// Where each number sits in WheelOrder.
int wheelPlace(int number)
{
    return int(std::find(WheelOrder.begin(), WheelOrder.end(), number) - WheelOrder.begin());
}

} // namespace

WheelView::WheelView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("WheelView"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    // Its own background, so the names drawn on it are read against a
    // colour it knows.
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Колесо"));
    m_absence.fill(0);
    UpdateDescription();
}

QColor WheelView::HeatColour(double heat)
{
    // A sequential scale, dark violet through blue and green to yellow, whose
    // lightness rises all the way, so it reads the same in greyscale and to
    // colour-blind eyes: nine fixed stops, mixed linearly between them.
    static const QColor Stops[] = {
        QColor(0x44, 0x01, 0x54), QColor(0x47, 0x2c, 0x7a), QColor(0x3b, 0x51, 0x8b),
        QColor(0x2c, 0x71, 0x8e), QColor(0x21, 0x90, 0x8d), QColor(0x27, 0xad, 0x81),
        QColor(0x5c, 0xc8, 0x63), QColor(0xaa, 0xdc, 0x32), QColor(0xfd, 0xe7, 0x25)};
    constexpr int Last = int(std::size(Stops)) - 1;
    const double at = std::clamp(heat, 0.0, 1.0) * Last;
    const int low = std::min(int(at), Last - 1);
    const double t = at - low;
    const auto mix = [t](int a, int b) { return int(std::lround(a + (b - a) * t)); };
    const QColor &a = Stops[low];
    const QColor &b = Stops[low + 1];
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

QColor WheelView::SectorCaptionColour(int sector, const QColor &background)
{
    return ReadableOn(SectorColours[sector], background);
}

void WheelView::SetArcRemarkable(bool remarkable)
{
    if (remarkable == m_arcRemarkable)
        return;
    m_arcRemarkable = remarkable;
    const int pen = int(std::ceil(std::max(4.0, radius() / 40)));
    update(ArcOutline().boundingRect().toAlignedRect().adjusted(-pen, -pen, pen, pen));
}

void WheelView::SetHotArc(const HotArc &arc)
{
    if (arc.centre == m_arc.centre && arc.width == m_arc.width) {
        m_arc = arc;
        UpdateDescription();
        return;
    }
    const QRect before = ArcOutline().boundingRect().toAlignedRect();
    m_arc = arc;
    const QRect after = ArcOutline().boundingRect().toAlignedRect();
    const int pen = int(std::ceil(std::max(4.0, radius() / 40)));
    update(QRegion(before.adjusted(-pen, -pen, pen, pen)) + after.adjusted(-pen, -pen, pen, pen));
    UpdateDescription();
}

QPainterPath WheelView::ArcOutline() const
{
    const double r = radius();
    if (m_arc.centre < 0 || r <= 0)
        return {};
    const int pockets = std::min(WheelSize, 2 * m_arc.width + 1);
    const int first = wheelPlace(m_arc.centre) - pockets / 2;
    return ringPiece(centre(), HeatOuter * r, PocketInner * r, pocketStart(first),
                     pockets * PocketDegrees);
}

void WheelView::UpdateDescription()
{
    // The longest absence, of equal ones the smallest number.
    const auto longest = std::max_element(m_absence.begin(), m_absence.end());
    QString text = QStringLiteral("Кольцо: сколько спинов не выпадает каждое число. Дольше всех "
                                  "не выпадает число %1, спинов без него: %2")
                       .arg(IntToStr(int(longest - m_absence.begin())), IntToStr(*longest));
    text += m_threshold ? QStringLiteral("; порог сигнализации: %1.").arg(IntToStr(*m_threshold))
                        : QStringLiteral(".");
    if (m_arc.centre >= 0)
        text += QStringLiteral(" Обведена самая частая дуга %1.").arg(HotArcText(m_arc));
    if (accessibleDescription() != text)
        setAccessibleDescription(text);
}

void WheelView::changeEvent(QEvent *event)
{
    // The face holds colours of the palette: drawn again with the new one.
    if (event->type() == QEvent::PaletteChange)
        m_face = QPixmap();
    QWidget::changeEvent(event);
}

void WheelView::SetFigures(const std::array<qint32, WheelSize> &absence,
                           const std::array<qint32, WheelSize> &occurrence,
                           std::optional<qint32> threshold)
{
    m_absence = absence;
    m_occurrence = occurrence;
    m_threshold = threshold;
    // Only the pieces of the ring whose shade changed are repainted.
    QRegion changed;
    const QPointF c = centre();
    const double r = radius();
    for (int i = 0; i < WheelSize; ++i) {
        const int n = WheelOrder[i];
        const auto shade = quint8(std::lround(Heat(n) * HeatLevels));
        if (shade == m_heat[n])
            continue;
        m_heat[n] = shade;
        changed += ringPiece(c, HeatOuter * r, HeatInner * r, pocketStart(i), PocketDegrees)
                       .boundingRect()
                       .toAlignedRect()
                       .adjusted(-2, -2, 2, 2);
    }
    if (!changed.isEmpty())
        update(changed);
    UpdateDescription();
}

double WheelView::Heat(int number) const
{
    const double scale = m_threshold
                             ? double(*m_threshold)
                             : double(*std::max_element(m_absence.begin(), m_absence.end()));
    if (scale <= 0)
        return m_threshold ? 1.0 : 0.0;
    return std::clamp(m_absence[number] / scale, 0.0, 1.0);
}

QPointF WheelView::centre() const
{
    return QRectF(rect()).center();
}

double WheelView::radius() const
{
    return std::max(0.0, std::min(width(), height()) / 2.0 - 4);
}

int WheelView::PocketAt(QPointF point) const
{
    const QPointF d = point - centre();
    const double distance = std::hypot(d.x(), d.y());
    const double r = radius();
    if (r <= 0 || distance < PocketInner * r || distance > HeatOuter * r)
        return -1;
    double degrees = std::atan2(d.x(), -d.y()) * 180 / std::numbers::pi; // clockwise from top
    degrees = std::fmod(degrees + PocketDegrees / 2 + 360, 360);
    const int index = std::min(WheelSize - 1, int(degrees / PocketDegrees));
    return WheelOrder[index];
}

QString WheelView::PocketToolTip(int number) const
{
    return QStringLiteral("Число %1\nНе выпадает: %2\nВыпадений: %3")
        .arg(IntToStr(number), IntToStr(m_absence[number]), IntToStr(m_occurrence[number]));
}

void WheelView::paintEvent(QPaintEvent *event)
{
    const double r = radius();
    if (r <= 0)
        return;
    // Everything but the heat ring stays as it is from pass to pass: drawn
    // once per size and pixel density, at the screen's own resolution.
    const qreal density = devicePixelRatioF();
    if (m_face.size() != size() * density || m_face.devicePixelRatio() != density) {
        m_face = QPixmap(size() * density);
        m_face.setDevicePixelRatio(density);
        m_face.fill(Qt::transparent);
        QPainter face(&m_face);
        PaintFace(face);
    }

    QPainter painter(this);
    const QRegion &dirty = event->region();
    for (const QRect &part : dirty)
        painter.drawPixmap(part, m_face,
                           QRectF(part.topLeft() * density, part.size() * density).toRect());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::Window), std::max(1.0, r / 200)));
    const QPointF c = centre();
    for (int i = 0; i < WheelSize; ++i) {
        const QPainterPath piece =
            ringPiece(c, HeatOuter * r, HeatInner * r, pocketStart(i), PocketDegrees);
        if (!dirty.intersects(piece.boundingRect().toAlignedRect()))
            continue;
        painter.setBrush(HeatColour(m_heat[WheelOrder[i]] / double(HeatLevels)));
        painter.drawPath(piece);
    }

    // The hottest arc: a dark line on a light one, seen on every colour; a
    // thin grey line alone while it is nothing remarkable.
    const QPainterPath outline = ArcOutline();
    if (!outline.isEmpty()) {
        const double width = std::max(2.0, r / 80);
        painter.setBrush(Qt::NoBrush);
        if (m_arcRemarkable) {
            painter.setPen(QPen(Qt::white, 2 * width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
            painter.drawPath(outline);
            painter.setPen(QPen(Qt::black, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        } else {
            painter.setPen(QPen(QColor(0xa0, 0xa0, 0xa0), std::max(1.0, width / 2), Qt::DashLine,
                                Qt::FlatCap, Qt::MiterJoin));
        }
        painter.drawPath(outline);
    }
}

void WheelView::PaintFace(QPainter &painter) const
{
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF c = centre();
    const double r = radius();

    QFont font = this->font();
    font.setPixelSize(std::max(6, int(r * 0.075)));
    font.setBold(true);
    painter.setFont(font);

    const QPen rim(palette().color(QPalette::Window), std::max(1.0, r / 200));
    for (int i = 0; i < WheelSize; ++i) {
        const int number = WheelOrder[i];
        const double start = pocketStart(i);
        painter.setPen(rim);
        painter.setBrush(PocketColour(number));
        painter.drawPath(ringPiece(c, PocketOuter * r, PocketInner * r, start, PocketDegrees));

        // The number upright along the radius, its foot towards the centre.
        painter.save();
        painter.translate(
            pointAt(c, (PocketOuter + PocketInner) / 2 * r, start + PocketDegrees / 2));
        painter.rotate(start + PocketDegrees / 2);
        painter.setPen(Qt::white);
        const double box = (PocketOuter - PocketInner) * r;
        painter.drawText(QRectF(-box, -box / 2, 2 * box, box), Qt::AlignCenter, IntToStr(number));
        painter.restore();
    }

    // Each sector as arcs over its runs of neighbouring pockets; the zero
    // game lies inside its neighbours and gets a ring of its own.
    for (int s = 0; s < SectorCount; ++s) {
        const bool inner = s == SectorCount - 1;
        const double outer = (inner ? ZeroGameOuter : SectorOuter) * r;
        const double innerRadius = (inner ? ZeroGameInner : SectorInner) * r;
        const auto holds = [&](int index) {
            return (Sectors[s].members >> WheelOrder[(index + WheelSize) % WheelSize] & 1u) != 0;
        };
        painter.setPen(Qt::NoPen);
        painter.setBrush(SectorColours[s]);
        for (int i = 0; i < WheelSize; ++i) {
            if (!holds(i) || holds(i - 1))
                continue; // not the first pocket of a run
            int length = 1;
            while (length < WheelSize && holds(i + length))
                ++length;
            const double gap = 0.8;
            painter.drawPath(ringPiece(c, outer, innerRadius, pocketStart(i) + gap,
                                       length * PocketDegrees - 2 * gap));
        }
    }

    // The names of the sectors in their colours in the middle, dark or light
    // enough to read against the background.
    font.setBold(false);
    font.setPixelSize(std::max(6, int(r * 0.06)));
    painter.setFont(font);
    const double line = font.pixelSize() * 1.3;
    const QColor background = palette().color(QPalette::Window);
    for (int s = 0; s < SectorCount; ++s) {
        painter.setPen(SectorCaptionColour(s, background));
        const QRectF box(c.x() - r * 0.45, c.y() + (s - SectorCount / 2.0) * line, r * 0.9, line);
        painter.drawText(box, Qt::AlignCenter, QString::fromUtf16(Sectors[s].name));
    }
}

void WheelView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        // The window reads and the pad enters: a click shows what hovering
        // would, at once.
        const int number = PocketAt(event->position());
        if (number >= 0)
            QToolTip::showText(event->globalPosition().toPoint(), PocketToolTip(number), this);
    }
    QWidget::mouseReleaseEvent(event);
}

bool WheelView::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const int number = PocketAt(help->pos());
        if (number >= 0)
            QToolTip::showText(help->globalPos(), PocketToolTip(number), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

} // namespace trevolo
