// Draws the three 16 x 16 indicator balls (grey; yellow with "!"; green with a
// tick, so the levels tell apart without their colour) and the program icon,
// each also at twice the size for screens with a device pixel ratio of 2
// ("grey@2x.png"), and writes them as PNG files into the folder
// given as the first argument. A second argument names the folder that gets
// the desktop icon theme files, hicolor/<n>x<n>/apps/<application id>.png
// and the same wheel as hicolor/scalable/apps/<application id>.svg.
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace {

// The sign a ball carries besides its colour, so the three levels tell apart
// in greyscale and to an eye that confuses red and green: none on the grey
// ball, "!" on the yellow one, a tick on the green one.
enum class Mark
{
    None,
    Exclamation,
    Tick
};

struct BallColours
{
    QColor body;
    QColor upperRim;
    QColor rightRim;
    QColor bottomRim;
    QColor glint;
    Mark mark = Mark::None;
    QColor markColour;
};

double clamp01(double v)
{
    return std::clamp(v, 0.0, 1.0);
}

double smoothstep(double a, double b, double x)
{
    const double t = clamp01((x - a) / (b - a));
    return t * t * (3 - 2 * t);
}

QColor mix(const QColor &a, const QColor &b, double t)
{
    t = clamp01(t);
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

// The ball fills columns 2..12 and rows 2..13; its shadow reaches column 14
// and row 15.
constexpr double BallX = 7.5, BallY = 8.0, BallRx = 5.5, BallRy = 6.0;
constexpr double ShadowX = 9.0, ShadowY = 9.6, ShadowRx = 6.0, ShadowRy = 6.3;
constexpr int Samples = 4; // per axis, for the anti-aliased edge

// The ball's sign over its body, in the same 16-unit square: a stroke about
// two units wide, so it stays a clear shape at 16 x 16 pixels.
void drawMark(QImage &image, const BallColours &c, int scale)
{
    if (c.mark == Mark::None)
        return;
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    QPen pen(c.markColour, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    if (c.mark == Mark::Exclamation) {
        p.drawLine(QPointF(BallX, 4.4), QPointF(BallX, 8.6));
        p.setPen(Qt::NoPen);
        p.setBrush(c.markColour);
        p.drawEllipse(QPointF(BallX, 11.4), 1.15, 1.15);
    } else {
        const QPointF tick[] = {{4.4, 8.3}, {6.6, 10.7}, {10.6, 5.4}};
        p.drawPolyline(tick, 3);
    }
}

// The ball in a 16-unit square drawn at `scale` pixels a unit.
QImage drawBall(const BallColours &c, int scale)
{
    const int side = 16 * scale;
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            // Coverage of the ball over the pixel.
            int inside = 0;
            for (int sy = 0; sy < Samples; ++sy)
                for (int sx = 0; sx < Samples; ++sx) {
                    const double px = (x + (sx + 0.5) / Samples) / scale;
                    const double py = (y + (sy + 0.5) / Samples) / scale;
                    const double dx = (px - BallX) / BallRx, dy = (py - BallY) / BallRy;
                    inside += dx * dx + dy * dy <= 1.0;
                }
            const double coverage = double(inside) / (Samples * Samples);

            const double cx = (x + 0.5) / scale, cy = (y + 0.5) / scale;
            const double dx = (cx - BallX) / BallRx, dy = (cy - BallY) / BallRy;
            const double r = std::sqrt(dx * dx + dy * dy);

            // Shading: body in the middle, the rim colour of the nearest edge
            // toward the outline, a glint low right, a highlight high left.
            const double wUp = std::max(0.0, -dy), wRight = std::max(0.0, dx) * 0.8,
                         wDown = std::max(0.0, dy) * 1.2;
            const double wSum = wUp + wRight + wDown;
            QColor rim = c.body;
            if (wSum > 0) {
                rim = mix(c.upperRim, c.rightRim, wRight / std::max(1e-9, wUp + wRight));
                rim = mix(rim, c.bottomRim, wDown / wSum);
            }
            QColor colour = mix(c.body, rim, smoothstep(0.45, 1.0, r));
            const double gx = dx - 0.38, gy = dy - 0.42;
            colour = mix(colour, c.glint, 0.75 * std::exp(-(gx * gx + gy * gy) / 0.05));
            const double hx = dx + 0.42, hy = dy + 0.45;
            colour =
                mix(colour, QColor(255, 255, 250), 0.95 * std::exp(-(hx * hx + hy * hy) / 0.035));

            // Soft shadow under and right of the ball.
            const double sdx = (cx - ShadowX) / ShadowRx, sdy = (cy - ShadowY) / ShadowRy;
            const double sd = std::sqrt(sdx * sdx + sdy * sdy);
            const double shadowAlpha = 90.0 / 255.0 * std::pow(clamp01(1.0 - sd), 0.8);

            // Ball over shadow.
            const double alpha = coverage + shadowAlpha * (1.0 - coverage);
            if (alpha <= 0.0)
                continue;
            const double k = coverage / alpha;
            const QColor out =
                QColor::fromRgbF(float(colour.redF() * k), float(colour.greenF() * k),
                                 float(colour.blueF() * k), float(alpha));
            image.setPixelColor(x, y, out);
        }
    }
    drawMark(image, c, scale);
    return image;
}

// A small roulette wheel: rim, red and black pockets with one green, a golden
// hub and the white ball.
QImage drawIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(size / 2.0, size / 2.0);
    const double outer = size * 0.47;

    QRadialGradient wood(centre, outer);
    wood.setColorAt(0.80, QColor(120, 62, 24));
    wood.setColorAt(1.00, QColor(70, 34, 12));
    p.setPen(Qt::NoPen);
    p.setBrush(wood);
    p.drawEllipse(centre, outer, outer);

    const double pocketsOuter = outer * 0.86, pocketsInner = outer * 0.52;
    constexpr int Pockets = 18;
    for (int i = 0; i < Pockets; ++i) {
        const double a0 = 360.0 / Pockets * i - 90.0 - 180.0 / Pockets;
        const QColor colour =
            i == 0 ? QColor(20, 150, 60) : (i % 2 ? QColor(200, 30, 35) : QColor(25, 25, 28));
        QPainterPath path;
        path.arcMoveTo(QRectF(centre.x() - pocketsOuter, centre.y() - pocketsOuter,
                              2 * pocketsOuter, 2 * pocketsOuter),
                       -a0);
        path.arcTo(QRectF(centre.x() - pocketsOuter, centre.y() - pocketsOuter, 2 * pocketsOuter,
                          2 * pocketsOuter),
                   -a0, -360.0 / Pockets);
        path.arcTo(QRectF(centre.x() - pocketsInner, centre.y() - pocketsInner, 2 * pocketsInner,
                          2 * pocketsInner),
                   -a0 - 360.0 / Pockets, 360.0 / Pockets);
        path.closeSubpath();
        p.setBrush(colour);
        p.drawPath(path);
    }

    QRadialGradient hub(centre - QPointF(size * 0.05, size * 0.05), pocketsInner);
    hub.setColorAt(0.0, QColor(255, 236, 150));
    hub.setColorAt(0.7, QColor(214, 160, 40));
    hub.setColorAt(1.0, QColor(150, 100, 20));
    p.setBrush(hub);
    p.drawEllipse(centre, pocketsInner * 0.92, pocketsInner * 0.92);

    // Spokes of the hub.
    p.setPen(QPen(QColor(120, 80, 15), size / 40.0 + 0.5));
    for (int i = 0; i < 4; ++i) {
        const double a = M_PI / 4 * i;
        const QPointF d(std::cos(a) * pocketsInner * 0.7, std::sin(a) * pocketsInner * 0.7);
        p.drawLine(centre - d, centre + d);
    }

    // The ball, resting in a pocket at the upper right.
    const double ballAngle = -M_PI / 2 + 2 * M_PI / Pockets * 3;
    const double ballRadius = (pocketsOuter + pocketsInner) / 2;
    const QPointF ball =
        centre + QPointF(std::cos(ballAngle) * ballRadius, std::sin(ballAngle) * ballRadius);
    QRadialGradient shine(ball - QPointF(size * 0.02, size * 0.02), size * 0.07);
    shine.setColorAt(0.0, Qt::white);
    shine.setColorAt(1.0, QColor(200, 200, 210));
    p.setPen(Qt::NoPen);
    p.setBrush(shine);
    p.drawEllipse(ball, size * 0.065, size * 0.065);
    p.end();
    return image;
}

// The same wheel as scalable vector graphics, in a 256-unit square.
QString iconSvg()
{
    constexpr double Size = 256, C = Size / 2, Outer = Size * 0.47;
    constexpr double PocketsOuter = Outer * 0.86, PocketsInner = Outer * 0.52;
    constexpr int Pockets = 18;
    const auto num = [](double v) { return QString::number(v, 'f', 2); };
    const auto at = [&](double radius, double degrees) {
        const double a = degrees * M_PI / 180;
        return num(C + radius * std::cos(a)) + QLatin1Char(',') + num(C + radius * std::sin(a));
    };
    QString svg =
        QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
                       "viewBox=\"0 0 256 256\">\n<defs>\n"
                       "<radialGradient id=\"wood\" cx=\"128\" cy=\"128\" r=\"%1\" "
                       "gradientUnits=\"userSpaceOnUse\">"
                       "<stop offset=\"0.8\" stop-color=\"#783e18\"/><stop offset=\"1\" "
                       "stop-color=\"#46220c\"/>"
                       "</radialGradient>\n"
                       "<radialGradient id=\"hub\" cx=\"%2\" cy=\"%2\" r=\"%3\" "
                       "gradientUnits=\"userSpaceOnUse\">"
                       "<stop offset=\"0\" stop-color=\"#ffec96\"/><stop offset=\"0.7\" "
                       "stop-color=\"#d6a028\"/>"
                       "<stop offset=\"1\" stop-color=\"#966414\"/></radialGradient>\n")
            .arg(num(Outer), num(C - Size * 0.05), num(PocketsInner));
    const double ballAngle = -90.0 + 360.0 / Pockets * 3;
    const double ballRadius = (PocketsOuter + PocketsInner) / 2;
    const double ballX = C + ballRadius * std::cos(ballAngle * M_PI / 180);
    const double ballY = C + ballRadius * std::sin(ballAngle * M_PI / 180);
    svg += QStringLiteral("<radialGradient id=\"ball\" cx=\"%1\" cy=\"%2\" r=\"%3\" "
                          "gradientUnits=\"userSpaceOnUse\"><stop offset=\"0\" "
                          "stop-color=\"#ffffff\"/><stop offset=\"1\" stop-color=\"#c8c8d2\"/>"
                          "</radialGradient>\n</defs>\n")
               .arg(num(ballX - Size * 0.02), num(ballY - Size * 0.02), num(Size * 0.07));
    svg += QStringLiteral("<circle cx=\"128\" cy=\"128\" r=\"%1\" fill=\"url(#wood)\"/>\n")
               .arg(num(Outer));
    for (int i = 0; i < Pockets; ++i) {
        const double a0 = 360.0 / Pockets * i - 90.0 - 180.0 / Pockets, a1 = a0 + 360.0 / Pockets;
        const char *colour = i == 0 ? "#14963c" : (i % 2 ? "#c81e23" : "#19191c");
        svg +=
            QStringLiteral("<path fill=\"%1\" d=\"M%2 A%3,%3 0 0 1 %4 L%5 A%6,%6 0 0 0 %7 Z\"/>\n")
                .arg(QLatin1String(colour), at(PocketsOuter, a0), num(PocketsOuter),
                     at(PocketsOuter, a1), at(PocketsInner, a1), num(PocketsInner),
                     at(PocketsInner, a0));
    }
    svg += QStringLiteral("<circle cx=\"128\" cy=\"128\" r=\"%1\" fill=\"url(#hub)\"/>\n")
               .arg(num(PocketsInner * 0.92));
    svg += QStringLiteral("<g stroke=\"#78500f\" stroke-width=\"%1\">\n").arg(num(Size / 40 + 0.5));
    for (int i = 0; i < 4; ++i) {
        const double a = 45.0 * i;
        svg += QStringLiteral("<line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\"/>\n")
                   .arg(at(PocketsInner * 0.7, a + 180).section(QLatin1Char(','), 0, 0),
                        at(PocketsInner * 0.7, a + 180).section(QLatin1Char(','), 1, 1),
                        at(PocketsInner * 0.7, a).section(QLatin1Char(','), 0, 0),
                        at(PocketsInner * 0.7, a).section(QLatin1Char(','), 1, 1));
    }
    svg +=
        QStringLiteral("</g>\n<circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"url(#ball)\"/>\n</svg>\n")
            .arg(num(ballX), num(ballY), num(Size * 0.065));
    return svg;
}

bool save(const QImage &image, const QString &folder, const QString &name)
{
    const QString path = folder + QLatin1Char('/') + name;
    if (!QDir().mkpath(QFileInfo(path).path()) || !image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: make_pictures FOLDER [ICON-THEME-FOLDER]\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);

    const BallColours grey{QColor(192, 192, 192), QColor(180, 180, 180), QColor(166, 166, 166),
                           QColor(117, 117, 117), QColor(221, 221, 221)};
    // Yellow and green are deep enough to stand out against a light page
    // (a contrast of 3:1 at least), and differ in lightness as well as hue.
    const BallColours yellow{QColor(188, 128, 0), QColor(182, 120, 0),  QColor(168, 106, 0),
                             QColor(132, 78, 0),  QColor(226, 176, 40), Mark::Exclamation,
                             QColor(52, 30, 0)};
    const BallColours green{QColor(46, 132, 30),  QColor(40, 120, 26),  QColor(32, 104, 20),
                            QColor(20, 72, 10),   QColor(120, 190, 60), Mark::Tick,
                            QColor(255, 255, 255)};
    const std::pair<const BallColours *, const char *> balls[] = {
        {&grey, "grey"}, {&yellow, "yellow"}, {&green, "green"}};

    bool ok = true;
    for (const auto &[colours, name] : balls) {
        ok = save(drawBall(*colours, 1), folder, QLatin1String(name) + QLatin1String(".png")) && ok;
        ok = save(drawBall(*colours, 2), folder, QLatin1String(name) + QLatin1String("@2x.png")) &&
             ok;
    }
    ok = save(drawIcon(64), folder, QStringLiteral("icon.png")) && ok;
    ok = save(drawIcon(128), folder, QStringLiteral("icon@2x.png")) && ok;
    if (argc == 3) {
        const QString theme = QString::fromLocal8Bit(argv[2]);
        for (const int size : {16, 32, 48, 64, 128, 256})
            ok = save(drawIcon(size), theme,
                      QStringLiteral("hicolor/%1x%1/apps/example.trevolo.Trevolo.png").arg(size)) &&
                 ok;
        const QString svgPath =
            theme + QStringLiteral("/hicolor/scalable/apps/example.trevolo.Trevolo.svg");
        QFile svg(svgPath);
        if (!QDir().mkpath(QFileInfo(svgPath).path()) || !svg.open(QIODevice::WriteOnly) ||
            svg.write(iconSvg().toUtf8()) < 0) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(svgPath));
            ok = false;
        }
    }
    return ok ? 0 : 1;
}
