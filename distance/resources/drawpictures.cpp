// Draws the distance window's pictures: the product picture and the small
// sensor plate that the model fields lie on.
// Built as veltra-draw-distance-pictures; run it when a picture changes:
//   QT_QPA_PLATFORM=offscreen build/distance/veltra-draw-distance-pictures distance/resources
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>

namespace {

const QColor kOutline(80, 88, 98);
const QColor kInk(40, 52, 68);

QLinearGradient metal(qreal from, qreal to, Qt::Orientation across)
{
    QLinearGradient g = across == Qt::Horizontal ? QLinearGradient(from, 0, to, 0) : QLinearGradient(0, from, 0, to);
    g.setColorAt(0.0, QColor(140, 148, 158));
    g.setColorAt(0.4, QColor(235, 238, 242));
    g.setColorAt(1.0, QColor(120, 128, 138));
    return g;
}

QLinearGradient housingBlue(qreal from, qreal to, Qt::Orientation across)
{
    QLinearGradient g = across == Qt::Horizontal ? QLinearGradient(from, 0, to, 0) : QLinearGradient(0, from, 0, to);
    g.setColorAt(0.0, QColor(28, 96, 150));
    g.setColorAt(0.35, QColor(86, 160, 214));
    g.setColorAt(1.0, QColor(20, 70, 118));
    return g;
}

// A dimension line with arrow heads at both ends.
void dimension(QPainter &p, QPointF a, QPointF b)
{
    p.drawLine(a, b);
    const qreal d = b.x() > a.x() ? 5 : -5;
    p.drawLine(a, a + QPointF(d, -3));
    p.drawLine(a, a + QPointF(d, 3));
    p.drawLine(b, b + QPointF(-d, -3));
    p.drawLine(b, b + QPointF(-d, 3));
}

QFont sans(int pixels, bool bold = false)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// Image1 (4755 x 5025 twips): a distance sensor on a post, aimed at a target.
QImage product(int scale)
{
    QImage image(QSize(317, 335) * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Card, clear of the window's edges and of the panel's line
    QLinearGradient cardFill(0, 0, 0, 335);
    cardFill.setColorAt(0, QColor(255, 255, 255));
    cardFill.setColorAt(1, QColor(236, 242, 248));
    p.setPen(QPen(QColor(170, 186, 204), 1.5));
    p.setBrush(cardFill);
    p.drawRoundedRect(QRectF(6.5, 6.5, 304, 322), 10, 10);

    p.setFont(sans(13, true));
    p.setPen(QColor(28, 96, 150));
    p.drawText(QRectF(18, 16, 200, 18), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("DVZ-900"));
    p.setFont(sans(10));
    p.setPen(QColor(90, 104, 122));
    p.drawText(QRectF(18, 34, 240, 14), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("ultrasonic distance sensor"));

    const qreal axis = 160;   // sensor axis
    const qreal face = 140;   // transducer face
    const qreal target = 262; // target surface
    const qreal floor = 292;

    // Floor
    p.setPen(QPen(QColor(150, 162, 176), 1.2));
    p.drawLine(QPointF(14, floor), QPointF(302, floor));
    p.setPen(Qt::NoPen);
    for (const QRectF &r : {QRectF(8, floor - 5, 44, 10), QRectF(244, floor - 5, 62, 10)}) {
        QRadialGradient s(r.center(), r.width() / 2);
        s.setColorAt(0, QColor(0, 0, 0, 45));
        s.setColorAt(1, QColor(0, 0, 0, 0));
        p.setBrush(s);
        p.drawEllipse(r);
    }

    // Post and its foot
    p.setPen(QPen(kOutline, 1.2));
    p.setBrush(metal(17, 29, Qt::Horizontal));
    p.drawRect(QRectF(17, 70, 12, floor - 70 - 6));
    p.drawRoundedRect(QRectF(10, floor - 7, 26, 7), 2, 2);

    // Bracket from the post to the barrel
    p.setBrush(metal(axis - 44, axis - 36, Qt::Vertical));
    p.drawRect(QRectF(29, axis - 44, 87, 8));
    p.setBrush(metal(108, 116, Qt::Horizontal));
    p.drawRect(QRectF(108, axis - 44, 8, 66));

    // Threaded barrel with a nut either side of the bracket
    p.setBrush(metal(axis - 17, axis + 17, Qt::Vertical));
    p.drawRect(QRectF(96, axis - 17, face - 96, 34));
    p.setPen(QPen(QColor(80, 88, 98, 110), 1));
    for (qreal x = 99; x < face - 1; x += 3.5)
        p.drawLine(QPointF(x, axis - 16), QPointF(x + 1.5, axis + 16));
    p.setPen(QPen(kOutline, 1.2));
    p.setBrush(metal(axis - 22, axis + 22, Qt::Vertical));
    p.drawRect(QRectF(100, axis - 22, 8, 44));
    p.drawRect(QRectF(116, axis - 22, 8, 44));

    // Transducer face
    p.setBrush(QColor(58, 64, 72));
    p.drawRoundedRect(QRectF(face - 3, axis - 15, 6, 30), 2, 2);

    // Housing
    p.setPen(QPen(QColor(16, 52, 90), 1.2));
    p.setBrush(housingBlue(axis - 24, axis + 24, Qt::Vertical));
    p.drawRoundedRect(QRectF(40, axis - 24, 58, 48), 6, 6);
    p.setFont(sans(9, true));
    p.setPen(QColor(240, 246, 252));
    p.drawText(QRectF(40, axis - 8, 58, 14), Qt::AlignCenter, QStringLiteral("VELTRA"));
    p.setPen(QPen(QColor(160, 220, 120), 0));
    p.setBrush(QColor(120, 210, 90));
    p.drawEllipse(QPointF(88, axis - 15), 2.5, 2.5);

    // Cable gland and cable down to the floor
    p.setPen(QPen(kOutline, 1.2));
    p.setBrush(metal(axis - 7, axis + 7, Qt::Vertical));
    p.drawRect(QRectF(32, axis - 7, 8, 14));
    QPainterPath cable;
    cable.moveTo(32, axis);
    cable.cubicTo(18, axis, 36, axis + 60, 40, floor - 2);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(40, 44, 50), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(cable);

    // Sound cone to the target
    QPainterPath cone;
    cone.moveTo(face + 3, axis - 14);
    cone.lineTo(target, axis - 36);
    cone.lineTo(target, axis + 36);
    cone.lineTo(face + 3, axis + 14);
    cone.closeSubpath();
    QLinearGradient beam(face, 0, target, 0);
    beam.setColorAt(0, QColor(255, 196, 60, 90));
    beam.setColorAt(1, QColor(255, 196, 60, 25));
    p.setPen(Qt::NoPen);
    p.setBrush(beam);
    p.drawPath(cone);

    // Blind zone in front of the face
    const qreal blind = 168;
    p.setBrush(QBrush(QColor(200, 80, 60, 60), Qt::BDiagPattern));
    QPainterPath zone;
    zone.moveTo(face + 3, axis - 14);
    zone.lineTo(blind, axis - 14 - (blind - face - 3) * 22 / (target - face - 3));
    zone.lineTo(blind, axis + 14 + (blind - face - 3) * 22 / (target - face - 3));
    zone.lineTo(face + 3, axis + 14);
    zone.closeSubpath();
    p.drawPath(zone);

    // Pulses going out and the echo coming back
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 4; ++i) {
        const qreal r = 40 + i * 16;
        p.setPen(QPen(QColor(255, 170, 30, 230 - i * 45), 2));
        p.drawArc(QRectF(face - r, axis - r, 2 * r, 2 * r), -14 * 16, 28 * 16);
    }
    for (int i = 0; i < 3; ++i) {
        const qreal r = 14 + i * 12;
        p.setPen(QPen(QColor(40, 120, 200, 200 - i * 55), 1.6));
        p.drawArc(QRectF(target - r, axis - r, 2 * r, 2 * r), 160 * 16, 40 * 16);
    }

    // Target: a panel standing on the floor
    QLinearGradient panel(target, 0, target + 22, 0);
    panel.setColorAt(0, QColor(120, 134, 150));
    panel.setColorAt(0.3, QColor(196, 206, 218));
    panel.setColorAt(1, QColor(150, 162, 176));
    p.setPen(QPen(kOutline, 1.2));
    p.setBrush(panel);
    p.drawRect(QRectF(target, 80, 22, floor - 80));
    p.setBrush(QColor(210, 218, 228));
    QPainterPath top;
    top.moveTo(target, 80);
    top.lineTo(target + 10, 72);
    top.lineTo(target + 32, 72);
    top.lineTo(target + 22, 80);
    top.closeSubpath();
    p.drawPath(top);
    p.setBrush(QColor(130, 142, 156));
    QPainterPath side;
    side.moveTo(target + 22, 80);
    side.lineTo(target + 32, 72);
    side.lineTo(target + 32, floor - 8);
    side.lineTo(target + 22, floor);
    side.closeSubpath();
    p.drawPath(side);
    p.setPen(QPen(QColor(200, 60, 40), 1.6));
    p.drawLine(QPointF(target, axis - 5), QPointF(target, axis + 5));
    p.drawEllipse(QPointF(target, axis), 1.6, 1.6);

    // Blocking distance and distance marks under the cone
    p.setPen(QPen(QColor(60, 72, 88, 140), 1, Qt::DashLine));
    p.drawLine(QPointF(face, axis + 18), QPointF(face, 256));
    p.drawLine(QPointF(blind, axis + 24), QPointF(blind, 222));
    p.drawLine(QPointF(target, axis + 38), QPointF(target, 256));
    p.setPen(QPen(QColor(60, 72, 88), 1.2));
    dimension(p, QPointF(face, 216), QPointF(blind, 216));
    dimension(p, QPointF(face, 250), QPointF(target, 250));
    p.setFont(sans(10));
    p.setPen(kInk);
    p.drawText(QRectF(blind + 4, 209, 40, 14), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("BD"));
    p.drawText(QRectF(face, 254, target - face, 14), Qt::AlignCenter, QStringLiteral("distance"));
    return image;
}

// Image3 (1995 x 2400 twips): the sensor seen from the front. Model box, BD
// label and BD field lie on its light name plate, so the plate must stay
// plain where they sit.
QImage sensor(int scale)
{
    QImage image(QSize(133, 160) * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Cable and gland on top
    p.setPen(QPen(QColor(40, 44, 50), 6, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(66.5, 0), QPointF(66.5, 6));
    p.setPen(QPen(kOutline, 1));
    p.setBrush(metal(56, 77, Qt::Horizontal));
    p.drawRect(QRectF(56.5, 3.5, 20, 7));

    // Threaded neck and transducer face at the bottom
    p.setBrush(metal(30, 103, Qt::Horizontal));
    p.drawRect(QRectF(30.5, 148.5, 72, 8));
    p.setPen(QPen(QColor(80, 88, 98, 110), 1));
    for (qreal y = 150.5; y < 156; y += 2.5)
        p.drawLine(QPointF(31, y), QPointF(102, y + 1));
    p.setPen(QPen(kOutline, 1));
    p.setBrush(QColor(58, 64, 72));
    p.drawRoundedRect(QRectF(34.5, 155.5, 64, 4), 1.5, 1.5);

    // Housing
    p.setPen(QPen(QColor(16, 52, 90), 1.2));
    p.setBrush(housingBlue(3, 130, Qt::Horizontal));
    p.drawRoundedRect(QRectF(3.5, 9.5, 126, 141), 9, 9);
    p.setFont(sans(9, true));
    p.setPen(QColor(240, 246, 252));
    p.drawText(QRectF(3, 12, 127, 18), Qt::AlignCenter, QStringLiteral("VELTRA"));
    p.setPen(QPen(QColor(160, 220, 120), 0));
    p.setBrush(QColor(120, 210, 90));
    p.drawEllipse(QPointF(117, 21), 2.5, 2.5);

    // Name plate
    QLinearGradient plate(0, 33, 0, 147);
    plate.setColorAt(0, QColor(252, 253, 255));
    plate.setColorAt(1, QColor(232, 238, 245));
    p.setPen(QPen(QColor(150, 170, 192), 1));
    p.setBrush(plate);
    p.drawRoundedRect(QRectF(9.5, 33.5, 114, 113), 5, 5);

    // Rivets at the plate's sides, clear of the fields
    p.setPen(QPen(QColor(150, 160, 172), 0.8));
    p.setBrush(QColor(214, 220, 228));
    for (qreal y : {70.0, 108.0}) {
        p.drawEllipse(QPointF(13.5, y), 1.8, 1.8);
        p.drawEllipse(QPointF(119.5, y), 1.8, 1.8);
    }
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
        ok = ok && product(scale).save(out.filePath(QStringLiteral("product") + suffix))
             && sensor(scale).save(out.filePath(QStringLiteral("sensor") + suffix));
    }
    if (!ok)
        std::fprintf(stderr, "cannot write the pictures\n");
    return ok ? 0 : 1;
}
