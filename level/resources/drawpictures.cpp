// Draws the level window's pictures: the background and the product picture.
// Built as veltra-draw-level-pictures; run it when a picture changes:
//   QT_QPA_PLATFORM=offscreen build/level/veltra-draw-level-pictures level/resources
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>

namespace {

// The window's client area (12270 x 7245 twips) in pixels.
QImage background(int scale)
{
    QImage image(QSize(818, 483) * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const QRectF area(QPointF(0, 0), image.deviceIndependentSize());
    QLinearGradient sky(0, 0, 0, area.height());
    sky.setColorAt(0.0, QColor(246, 249, 252));
    sky.setColorAt(1.0, QColor(221, 230, 239));
    p.fillRect(area, sky);

    QRadialGradient glow(QPointF(160, 140), 420);
    glow.setColorAt(0.0, QColor(255, 255, 255, 150));
    glow.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.fillRect(area, glow);

    // Two soft waves along the bottom, below the measurement row.
    for (int i = 0; i < 2; ++i) {
        QPainterPath wave;
        const qreal y = 455 + i * 10;
        wave.moveTo(0, y);
        wave.cubicTo(220, y - 22, 520, y + 22, 818, y - 8);
        wave.lineTo(818, 483);
        wave.lineTo(0, 483);
        wave.closeSubpath();
        p.fillPath(wave, QColor(180, 202, 224, 70 + i * 40));
    }
    return image;
}

// Image1 (4656 x 4260 twips): an ultrasonic level sensor over a tank.
QImage product(int scale)
{
    QImage image(QSize(310, 284) * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Card
    const QRectF card(1.5, 1.5, 307, 281);
    QLinearGradient cardFill(0, 0, 0, 284);
    cardFill.setColorAt(0, QColor(255, 255, 255));
    cardFill.setColorAt(1, QColor(236, 242, 248));
    p.setPen(QPen(QColor(170, 186, 204), 1.5));
    p.setBrush(cardFill);
    p.drawRoundedRect(card, 10, 10);

    // Tank body
    const qreal left = 62, right = 226, top = 112, bottom = 250, rx = (right - left) / 2, ry = 14;
    const qreal cx = (left + right) / 2;
    QLinearGradient steel(left, 0, right, 0);
    steel.setColorAt(0.0, QColor(150, 160, 172));
    steel.setColorAt(0.25, QColor(226, 232, 238));
    steel.setColorAt(0.55, QColor(190, 199, 209));
    steel.setColorAt(1.0, QColor(128, 138, 150));

    QPainterPath body;
    body.moveTo(left, top);
    body.lineTo(left, bottom);
    body.arcTo(QRectF(left, bottom - ry, 2 * rx, 2 * ry), 180, 180);
    body.lineTo(right, top);
    body.arcTo(QRectF(left, top - ry, 2 * rx, 2 * ry), 0, -180);
    body.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(steel);
    p.drawPath(body);

    // Roof
    QLinearGradient roof(left, 0, right, 0);
    roof.setColorAt(0.0, QColor(176, 186, 197));
    roof.setColorAt(0.4, QColor(238, 242, 246));
    roof.setColorAt(1.0, QColor(160, 170, 181));
    p.setBrush(roof);
    p.drawEllipse(QRectF(left, top - ry, 2 * rx, 2 * ry));

    // A cut-away window in the wall shows the air and the liquid inside
    const qreal level = 182;
    const QRectF window(left + 12, top + 14, 2 * rx - 24, bottom - top - 8);
    QPainterPath cut;
    cut.addRoundedRect(window, 6, 6);
    QLinearGradient air(0, window.top(), 0, level);
    air.setColorAt(0, QColor(200, 210, 221));
    air.setColorAt(1, QColor(232, 238, 244));
    p.setBrush(air);
    p.drawPath(cut);
    QPainterPath liquid;
    liquid.addRect(QRectF(window.left(), level, window.width(), window.bottom() - level));
    QLinearGradient water(0, level, 0, window.bottom());
    water.setColorAt(0, QColor(72, 156, 222));
    water.setColorAt(1, QColor(28, 88, 160));
    p.setBrush(water);
    p.drawPath(liquid.intersected(cut));
    p.setPen(QPen(QColor(170, 214, 246), 2));
    p.drawLine(QPointF(window.left() + 1, level + 1), QPointF(window.right() - 1, level + 1));
    p.setPen(QPen(QColor(92, 102, 114), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(cut);
    p.setPen(Qt::NoPen);

    // Outline and bands
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(92, 102, 114), 1.6));
    p.drawPath(body);
    p.drawEllipse(QRectF(left, top - ry, 2 * rx, 2 * ry));

    // Nozzle and flange on the tank roof
    p.setPen(QPen(QColor(80, 88, 98), 1.2));
    QLinearGradient metal(cx - 24, 0, cx + 24, 0);
    metal.setColorAt(0, QColor(140, 148, 158));
    metal.setColorAt(0.4, QColor(235, 238, 242));
    metal.setColorAt(1, QColor(120, 128, 138));
    p.setBrush(metal);
    p.drawRect(QRectF(cx - 14, top - 22, 28, 16));
    p.drawRoundedRect(QRectF(cx - 26, top - 28, 52, 7), 2, 2);

    // Sensor: hex nut, housing, cap and cable gland
    p.drawRect(QRectF(cx - 20, top - 44, 40, 16));
    p.setPen(QPen(QColor(80, 88, 98, 140), 1));
    p.drawLine(QPointF(cx - 7, top - 44), QPointF(cx - 7, top - 28));
    p.drawLine(QPointF(cx + 7, top - 44), QPointF(cx + 7, top - 28));
    QLinearGradient housing(cx - 26, 0, cx + 26, 0);
    housing.setColorAt(0, QColor(28, 96, 150));
    housing.setColorAt(0.35, QColor(86, 160, 214));
    housing.setColorAt(1, QColor(20, 70, 118));
    p.setPen(QPen(QColor(16, 52, 90), 1.2));
    p.setBrush(housing);
    p.drawRoundedRect(QRectF(cx - 26, top - 96, 52, 52), 6, 6);
    p.setBrush(metal);
    p.setPen(QPen(QColor(80, 88, 98), 1.2));
    p.drawRoundedRect(QRectF(cx - 22, top - 104, 44, 10), 4, 4);
    p.drawRect(QRectF(cx + 26, top - 78, 10, 14));

    // Cable to the right
    QPainterPath cable;
    cable.moveTo(cx + 36, top - 71);
    cable.cubicTo(cx + 70, top - 71, cx + 62, top - 20, cx + 100, top - 24);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(40, 44, 50), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(cable);

    // Maker's name on the housing
    QFont name(QStringLiteral("DejaVu Sans"));
    name.setPixelSize(9);
    name.setBold(true);
    p.setFont(name);
    p.setPen(QColor(240, 246, 252));
    p.drawText(QRectF(cx - 26, top - 80, 52, 14), Qt::AlignCenter, QStringLiteral("VELTRA"));
    p.setPen(QPen(QColor(160, 220, 120), 0));
    p.setBrush(QColor(120, 210, 90));
    p.drawEllipse(QPointF(cx, top - 56), 2.5, 2.5);

    // Sound going down to the surface and the echo coming back
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 4; ++i) {
        const qreal r = 12 + i * 12;
        p.setPen(QPen(QColor(255, 196, 60, 230 - i * 40), 2));
        p.drawArc(QRectF(cx - r, top + 2 - r, 2 * r, 2 * r), -50 * 16, -80 * 16);
    }
    for (int i = 0; i < 2; ++i) {
        const qreal r = 14 + i * 11;
        p.setPen(QPen(QColor(255, 255, 255, 200 - i * 60), 1.6));
        p.drawArc(QRectF(cx - r, level - 12 - r, 2 * r, 2 * r), 60 * 16, 60 * 16);
    }

    // Distance and level marks on the right
    const qreal mx = right + 22;
    p.setPen(QPen(QColor(60, 72, 88), 1.2));
    auto arrow = [&p](qreal x, qreal y1, qreal y2) {
        p.drawLine(QPointF(x, y1), QPointF(x, y2));
        const qreal d = y2 > y1 ? 5 : -5;
        p.drawLine(QPointF(x, y2), QPointF(x - 3, y2 - d));
        p.drawLine(QPointF(x, y2), QPointF(x + 3, y2 - d));
        p.drawLine(QPointF(x, y1), QPointF(x - 3, y1 + d));
        p.drawLine(QPointF(x, y1), QPointF(x + 3, y1 + d));
    };
    p.setPen(QPen(QColor(60, 72, 88, 140), 1, Qt::DashLine));
    p.drawLine(QPointF(cx + 10, top - 6), QPointF(mx + 6, top - 6));
    p.drawLine(QPointF(window.right(), level), QPointF(mx + 6, level));
    p.drawLine(QPointF(right, bottom), QPointF(mx + 6, bottom));
    p.setPen(QPen(QColor(60, 72, 88), 1.2));
    arrow(mx, top - 6, level);
    arrow(mx, level, bottom);

    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(10);
    p.setFont(small);
    p.setPen(QColor(40, 52, 68));
    p.save();
    p.translate(mx + 14, (top - 6 + level) / 2);
    p.rotate(-90);
    p.drawText(QRectF(-40, -7, 80, 14), Qt::AlignCenter, QStringLiteral("distance"));
    p.restore();
    p.save();
    p.translate(mx + 14, (level + bottom) / 2);
    p.rotate(-90);
    p.drawText(QRectF(-40, -7, 80, 14), Qt::AlignCenter, QStringLiteral("level"));
    p.restore();

    // Floor shadow
    QRadialGradient shadow(QPointF(cx, bottom + ry + 6), rx + 10);
    shadow.setColorAt(0, QColor(0, 0, 0, 50));
    shadow.setColorAt(1, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.drawEllipse(QPointF(cx, bottom + ry + 4), rx + 10, 6);
    return image;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    bool ok = true;
    // At their size and twice it, for screens set to larger text (@2x).
    for (const int scale : {1, 2}) {
        const QString suffix = scale == 1 ? QStringLiteral(".png") : QStringLiteral("@2x.png");
        ok = ok && background(scale).save(out.filePath(QStringLiteral("background") + suffix))
             && product(scale).save(out.filePath(QStringLiteral("product") + suffix));
    }
    if (!ok)
        std::fprintf(stderr, "cannot write the pictures\n");
    return ok ? 0 : 1;
}
