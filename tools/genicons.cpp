// Draws the tool-bar icons (open, save, print, exit) and the plot windows'
// zoom buttons (zoomin, zoomout) as 48x48 PNGs with transparency.
//
// The shapes are bold and few so that they stay readable when Qt scales
// them down to 16 or 24 pixels. All icons share one outline colour and
// pen width.
//
// Usage: genicons OUTPUT_DIR      (e.g. resources/images; created if needed)

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>
#include <functional>

namespace {

const int Size = 48;
const QColor Outline(0x26, 0x32, 0x3f);
const qreal Pen = 2.4;

QPen outlinePen(qreal width = Pen)
{
    return QPen(Outline, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QLinearGradient vertical(qreal top, qreal bottom, const QColor& a, const QColor& b)
{
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, a);
    g.setColorAt(1, b);
    return g;
}

void drawOpen(QPainter& p)
{
    // Back of the folder with its tab.
    QPainterPath back;
    back.moveTo(4, 12);
    back.lineTo(4, 40);
    back.lineTo(40, 40);
    back.lineTo(40, 16);
    back.lineTo(22, 16);
    back.lineTo(18, 11);
    back.lineTo(6, 11);
    back.closeSubpath();
    p.setPen(outlinePen());
    p.setBrush(vertical(11, 40, QColor(0xE8, 0xB0, 0x3A), QColor(0xC9, 0x8A, 0x1E)));
    p.drawPath(back);

    // A sheet sticking out.
    p.setBrush(QColor(0xFA, 0xFA, 0xF5));
    p.setPen(outlinePen(1.6));
    p.drawRect(QRectF(10, 7, 24, 20));
    p.setPen(QPen(QColor(0x8A, 0x96, 0xA3), 1.4));
    for (int y = 12; y <= 20; y += 4)
        p.drawLine(QPointF(14, y), QPointF(30, y));

    // The open front flap, tilted towards the viewer.
    QPainterPath front;
    front.moveTo(4, 40);
    front.lineTo(11, 22);
    front.lineTo(45, 22);
    front.lineTo(40, 40);
    front.closeSubpath();
    p.setPen(outlinePen());
    p.setBrush(vertical(22, 40, QColor(0xFF, 0xD5, 0x6A), QColor(0xF0, 0xAE, 0x2C)));
    p.drawPath(front);
}

void drawSave(QPainter& p)
{
    // Disk body with a clipped top-right corner.
    QPainterPath body;
    body.moveTo(6, 8);
    body.lineTo(36, 8);
    body.lineTo(42, 14);
    body.lineTo(42, 40);
    body.quadTo(42, 42, 40, 42);
    body.lineTo(8, 42);
    body.quadTo(6, 42, 6, 40);
    body.closeSubpath();
    p.setPen(outlinePen());
    p.setBrush(vertical(8, 42, QColor(0x4A, 0x86, 0xD0), QColor(0x24, 0x5A, 0xA5)));
    p.drawPath(body);

    // Metal shutter with its window.
    p.setPen(outlinePen(1.6));
    p.setBrush(vertical(8, 20, QColor(0xE4, 0xE9, 0xEE), QColor(0xB5, 0xBF, 0xC9)));
    p.drawRect(QRectF(13, 8, 19, 12));
    p.setBrush(Outline);
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(25, 10.5, 4, 7));

    // Paper label.
    p.setPen(outlinePen(1.6));
    p.setBrush(QColor(0xFA, 0xFA, 0xF5));
    p.drawRoundedRect(QRectF(11, 25, 26, 15), 1.5, 1.5);
    p.setPen(QPen(QColor(0xC0, 0x3A, 0x2B), 1.6));
    p.drawLine(QPointF(14, 29.5), QPointF(34, 29.5));
    p.setPen(QPen(QColor(0x8A, 0x96, 0xA3), 1.4));
    p.drawLine(QPointF(14, 34), QPointF(34, 34));
}

void drawPrint(QPainter& p)
{
    // Paper fed in at the back.
    p.setPen(outlinePen(1.6));
    p.setBrush(QColor(0xFA, 0xFA, 0xF5));
    p.drawRect(QRectF(13, 4, 22, 16));

    // Printer body.
    p.setPen(outlinePen());
    p.setBrush(vertical(17, 36, QColor(0xA9, 0xB4, 0xBF), QColor(0x6C, 0x7A, 0x88)));
    p.drawRoundedRect(QRectF(4, 17, 40, 19), 4, 4);

    // Status light.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3C, 0xC4, 0x5A));
    p.drawEllipse(QPointF(37, 23), 2.2, 2.2);

    // Printed page coming out at the front, with a trace on it.
    p.setPen(outlinePen(1.6));
    p.setBrush(QColor(0xFF, 0xFF, 0xFF));
    p.drawRect(QRectF(12, 29, 24, 15));
    QPainterPath trace;
    trace.moveTo(15, 38);
    trace.lineTo(20, 38);
    trace.lineTo(22, 32.5);
    trace.lineTo(24.5, 41.5);
    trace.lineTo(26.5, 36);
    trace.lineTo(33, 36);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xC0, 0x3A, 0x2B), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(trace);
}

void drawExit(QPainter& p)
{
    // Door frame.
    p.setPen(outlinePen());
    p.setBrush(QColor(0x3A, 0x46, 0x54));
    p.drawRect(QRectF(6, 5, 22, 38));

    // Open door leaf, in perspective.
    QPainterPath leaf;
    leaf.moveTo(6, 5);
    leaf.lineTo(19, 9);
    leaf.lineTo(19, 46);
    leaf.lineTo(6, 43);
    leaf.closeSubpath();
    p.setBrush(vertical(5, 46, QColor(0xC8, 0x84, 0x4E), QColor(0x96, 0x58, 0x2A)));
    p.drawPath(leaf);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xF2, 0xD0, 0x5A));
    p.drawEllipse(QPointF(16, 27), 1.7, 1.7);

    // Arrow leaving through the door.
    QPainterPath arrow;
    arrow.moveTo(22, 20);
    arrow.lineTo(33, 20);
    arrow.lineTo(33, 13);
    arrow.lineTo(45, 24);
    arrow.lineTo(33, 35);
    arrow.lineTo(33, 28);
    arrow.lineTo(22, 28);
    arrow.closeSubpath();
    p.setPen(outlinePen(2.0));
    p.setBrush(vertical(13, 35, QColor(0xF0, 0x5A, 0x4A), QColor(0xC0, 0x2A, 0x22)));
    p.drawPath(arrow);
}

void drawMagnifier(QPainter& p, bool plus)
{
    // Handle first, so the rim covers its end.
    p.setPen(QPen(Outline, 8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(30, 30), QPointF(42, 42));
    p.setPen(QPen(QColor(0x6C, 0x7A, 0x88), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(32, 32), QPointF(41, 41));

    // Lens.
    QRadialGradient glass(QPointF(16, 15), 18);
    glass.setColorAt(0, QColor(0xF4, 0xFA, 0xFF));
    glass.setColorAt(1, QColor(0xA8, 0xD0, 0xF0));
    p.setPen(QPen(Outline, 3.2));
    p.setBrush(glass);
    p.drawEllipse(QPointF(20, 20), 14, 14);

    // Sign.
    p.setPen(QPen(QColor(0x1E, 0x5A, 0xA8), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(13, 20), QPointF(27, 20));
    if (plus)
        p.drawLine(QPointF(20, 13), QPointF(20, 27));
}

bool render(const QString& path, const std::function<void(QPainter&)>& draw)
{
    QImage image(Size, Size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        draw(p);
    }
    if (!image.convertToFormat(QImage::Format_ARGB32).save(path, "PNG")) {
        std::fprintf(stderr, "genicons: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: genicons OUTPUT_DIR\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "genicons: cannot create %s\n", argv[1]);
        return 1;
    }
    bool ok = true;
    ok = render(dir.filePath("open.png"), drawOpen) && ok;
    ok = render(dir.filePath("save.png"), drawSave) && ok;
    ok = render(dir.filePath("print.png"), drawPrint) && ok;
    ok = render(dir.filePath("exit.png"), drawExit) && ok;
    ok = render(dir.filePath("zoomin.png"), [](QPainter& p) { drawMagnifier(p, true); }) && ok;
    ok = render(dir.filePath("zoomout.png"), [](QPainter& p) { drawMagnifier(p, false); }) && ok;
    return ok ? 0 : 1;
}
