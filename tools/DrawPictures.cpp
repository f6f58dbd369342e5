// Draws the program's pictures at build time:
//
//   tzr582-pictures <output folder>
//
// icon-10001.png (the application icon), bitmap-10004.png (the about picture,
// 249 x 81), bitmap-10020.png .. bitmap-10025.png (the flags of the six
// languages, in language order: Italian, English, Spanish, French, German,
// Russian), avi-10003.gif (the wait animation, 120 x 32) and the application
// icon at the sizes of the desktop's icon theme, hicolor-<size>.png.

#include "tools/GifWriter.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <functional>

namespace {

const QColor Navy(0, 0, 155);
const QColor Gold(255, 204, 0);

QImage Canvas(int width, int height, const QColor& fill = Qt::transparent)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(fill);
    return image;
}

// The Greek lambda, drawn as two strokes in a box of the given size.
void DrawLambda(QPainter& painter, const QRectF& box, const QColor& colour, double width)
{
    QPen pen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    const QPointF top(box.left() + box.width() * 0.25, box.top());
    const QPointF foot(box.right(), box.bottom());
    QPainterPath stroke(top);
    stroke.quadTo(QPointF(box.left() + box.width() * 0.5, box.top()), foot);
    painter.drawPath(stroke);
    painter.drawLine(QPointF(box.left() + box.width() * 0.55, box.top() + box.height() * 0.42),
                     QPointF(box.left(), box.bottom()));
}

// Drawn on a 64 x 64 design, scaled to the size asked for.
QImage Icon(int size = 64)
{
    QImage image = Canvas(size, size);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);
    QLinearGradient background(0, 0, 0, 64);
    background.setColorAt(0, QColor(30, 60, 190));
    background.setColorAt(1, Navy);
    painter.setBrush(background);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    // A gas flame behind the lambda.
    QPainterPath flame(QPointF(44, 54));
    flame.cubicTo(QPointF(60, 50), QPointF(56, 30), QPointF(46, 20));
    flame.cubicTo(QPointF(48, 32), QPointF(40, 34), QPointF(40, 40));
    flame.cubicTo(QPointF(34, 44), QPointF(34, 54), QPointF(44, 54));
    painter.setBrush(QColor(80, 170, 255));
    painter.drawPath(flame);
    DrawLambda(painter, QRectF(12, 12, 28, 40), Gold, 6);
    return image;
}

QImage AboutPicture()
{
    QImage image = Canvas(249, 81, Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, 249, 0);
    background.setColorAt(0, Navy);
    background.setColorAt(1, QColor(60, 110, 220));
    painter.fillRect(image.rect(), background);
    painter.drawImage(QRect(10, 9, 63, 63), Icon());
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(30);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Gold);
    painter.drawText(QRect(84, 8, 160, 38), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("TZR582"));
    QFont subtitle(QStringLiteral("DejaVu Sans"));
    subtitle.setPixelSize(12);
    painter.setFont(subtitle);
    painter.setPen(Qt::white);
    painter.drawText(QRect(84, 46, 160, 26), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Lambda control - LPG/CNG"));
    return image;
}

using FlagPainter = std::function<void(QPainter&, const QRectF&)>;

void Stripes(QPainter& painter, const QRectF& r, const QList<QColor>& colours, Qt::Orientation orientation)
{
    const int n = int(colours.size());
    for (int i = 0; i < n; ++i) {
        const QRectF part = orientation == Qt::Vertical
                                ? QRectF(r.left() + r.width() * i / n, r.top(), r.width() / n, r.height())
                                : QRectF(r.left(), r.top() + r.height() * i / n, r.width(), r.height() / n);
        painter.fillRect(part, colours[i]);
    }
}

void UnionFlag(QPainter& painter, const QRectF& r)
{
    const QColor blue(1, 33, 105), red(200, 16, 46);
    painter.fillRect(r, blue);
    painter.save();
    painter.setClipRect(r);
    const double unit = r.height() / 30;
    painter.setPen(QPen(Qt::white, unit * 6));
    painter.drawLine(r.topLeft(), r.bottomRight());
    painter.drawLine(r.bottomLeft(), r.topRight());
    painter.setPen(QPen(red, unit * 2));
    painter.drawLine(r.topLeft(), r.bottomRight());
    painter.drawLine(r.bottomLeft(), r.topRight());
    painter.fillRect(QRectF(r.center().x() - unit * 5, r.top(), unit * 10, r.height()), Qt::white);
    painter.fillRect(QRectF(r.left(), r.center().y() - unit * 5, r.width(), unit * 10), Qt::white);
    painter.fillRect(QRectF(r.center().x() - unit * 3, r.top(), unit * 6, r.height()), red);
    painter.fillRect(QRectF(r.left(), r.center().y() - unit * 3, r.width(), unit * 6), red);
    painter.restore();
}

QImage Flag(const FlagPainter& paint)
{
    QImage image = Canvas(48, 32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF field(1, 1, 46, 30);
    paint(painter, field);
    painter.setPen(QPen(QColor(80, 80, 80), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(0.5, 0.5, 47, 31));
    return image;
}

QList<QImage> Flags()
{
    return {
        Flag([](QPainter& p, const QRectF& r) {
            Stripes(p, r, {QColor(0, 146, 70), Qt::white, QColor(206, 43, 55)}, Qt::Vertical);
        }),
        Flag(UnionFlag),
        Flag([](QPainter& p, const QRectF& r) {
            p.fillRect(r, QColor(170, 21, 27));
            p.fillRect(QRectF(r.left(), r.top() + r.height() / 4, r.width(), r.height() / 2),
                       QColor(241, 191, 0));
        }),
        Flag([](QPainter& p, const QRectF& r) {
            Stripes(p, r, {QColor(0, 85, 164), Qt::white, QColor(239, 65, 53)}, Qt::Vertical);
        }),
        Flag([](QPainter& p, const QRectF& r) {
            Stripes(p, r, {Qt::black, QColor(221, 0, 0), QColor(255, 206, 0)}, Qt::Horizontal);
        }),
        Flag([](QPainter& p, const QRectF& r) {
            Stripes(p, r, {Qt::white, QColor(0, 57, 166), QColor(213, 43, 30)}, Qt::Horizontal);
        }),
    };
}

// The wait animation: the computer on the left talks to the unit on the right;
// a packet of data travels along the cable in ten steps.
QList<QImage> Animation()
{
    QList<QImage> frames;
    for (int step = 0; step < 10; ++step) {
        QImage frame = Canvas(120, 32, QColor(236, 236, 236));
        QPainter painter(&frame);
        painter.fillRect(QRect(4, 6, 22, 16), QColor(40, 40, 40)); // screen
        painter.fillRect(QRect(6, 8, 18, 12), QColor(90, 160, 255));
        painter.fillRect(QRect(10, 23, 10, 3), QColor(40, 40, 40)); // stand
        painter.fillRect(QRect(94, 8, 22, 18), Navy);               // the unit
        painter.fillRect(QRect(98, 12, 6, 4), Gold);
        painter.fillRect(QRect(106, 12, 6, 4), QColor(0, 170, 0));
        painter.fillRect(QRect(28, 15, 64, 2), QColor(120, 120, 120)); // cable
        const int x = 30 + step * 6;
        painter.fillRect(QRect(x, 12, 6, 8), step % 2 ? QColor(0, 170, 0) : Gold);
        frames.append(frame);
    }
    return frames;
}

bool Save(const QImage& image, const QDir& folder, const QString& name)
{
    return image.save(folder.filePath(name), "PNG");
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral(".")))
        return 1;
    bool ok = Save(Icon(), folder, QStringLiteral("icon-10001.png")) &&
              Save(AboutPicture(), folder, QStringLiteral("bitmap-10004.png"));
    const QList<QImage> flags = Flags();
    for (int i = 0; i < flags.size(); ++i)
        ok = ok && Save(flags[i], folder, QStringLiteral("bitmap-%1.png").arg(10020 + i));
    ok = ok && TGifWriter().Write(folder.filePath(QStringLiteral("avi-10003.gif")), Animation(), 10);
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        ok = ok && Save(Icon(size), folder, QStringLiteral("hicolor-%1.png").arg(size));
    if (!ok)
        std::fprintf(stderr, "cannot write the pictures\n");
    return ok ? 0 : 1;
}
