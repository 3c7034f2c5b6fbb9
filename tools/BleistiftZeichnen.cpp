// Draws the pencil pointer the log windows show over their comment label and
// writes it as the icon file "Bleistift.ICO" (32 x 32, with transparency). The
// tip is the bottom-left pixel, where the windows put the pointer's hot spot.
#include <QCoreApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cstdio>

namespace {

QImage bleistift()
{
    QImage bild(32, 32, QImage::Format_ARGB32);
    bild.fill(Qt::transparent);
    QPainter p(&bild);
    p.setRenderHint(QPainter::Antialiasing);
    // Along the pencil: x from the tip (0) to the eraser's end, y across it.
    p.translate(0.5, 31.5);
    p.rotate(-45.0);

    const QColor umriss(40, 40, 40);
    const double halb = 3.6;
    const double holzEnde = 11.0;
    const double koerperEnde = 33.0;
    const double zwinge = 36.0;
    const double ende = 41.0;
    const double mineEnde = 4.2;
    const double mineHalb = halb * mineEnde / holzEnde;

    QPen stift(umriss, 0.9);
    stift.setJoinStyle(Qt::RoundJoin);
    p.setPen(stift);

    p.setBrush(QColor(222, 184, 135));
    p.drawPolygon(QPolygonF({QPointF(mineEnde, -mineHalb), QPointF(holzEnde, -halb), QPointF(holzEnde, halb),
                             QPointF(mineEnde, mineHalb)}));
    p.setBrush(QColor(50, 50, 50));
    p.drawPolygon(QPolygonF({QPointF(0, 0), QPointF(mineEnde, -mineHalb), QPointF(mineEnde, mineHalb)}));

    p.setBrush(QColor(250, 200, 30));
    p.drawRect(QRectF(holzEnde, -halb, koerperEnde - holzEnde, 2 * halb));
    p.setPen(QPen(QColor(200, 140, 0), 0.8));
    p.drawLine(QPointF(holzEnde + 0.5, 0), QPointF(koerperEnde - 0.5, 0));
    p.setPen(stift);

    p.setBrush(QColor(170, 170, 180));
    p.drawRect(QRectF(koerperEnde, -halb, zwinge - koerperEnde, 2 * halb));

    QPainterPath radierer;
    radierer.addRoundedRect(QRectF(zwinge - 1.0, -halb, ende - zwinge + 1.0, 2 * halb), 1.8, 1.8);
    p.setBrush(QColor(235, 120, 130));
    p.drawPath(radierer);
    p.end();
    return bild;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: BleistiftZeichnen <target .ICO file>\n");
        return 2;
    }
    QImageWriter schreiber(QString::fromLocal8Bit(argv[1]), "ico");
    if (!schreiber.write(bleistift())) {
        std::fprintf(stderr, "cannot write %s: %s\n", argv[1], qPrintable(schreiber.errorString()));
        return 1;
    }
    return 0;
}
