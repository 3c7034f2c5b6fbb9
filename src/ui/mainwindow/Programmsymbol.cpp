#include "mainwindow/Programmsymbol.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

QImage ProgrammsymbolBild(int groesse)
{
    QImage bild(groesse, groesse, QImage::Format_ARGB32_Premultiplied);
    bild.fill(Qt::transparent);
    QPainter p(&bild);
    p.setRenderHint(QPainter::Antialiasing);
    // Drawn on the 64 × 64 grid of cardforge.svg.
    p.scale(groesse / 64.0, groesse / 64.0);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 64));
    p.drawRoundedRect(QRectF(6, 14, 56, 40), 3, 3);
    p.setPen(QPen(QColor(0x6b, 0x5a, 0x3a), 1.5));
    p.setBrush(QColor(0xff, 0xfb, 0xe8));
    p.drawRoundedRect(QRectF(3, 10, 56, 40), 3, 3);

    p.setPen(Qt::NoPen);
    const QColor blau(0x2b, 0x6c, 0xb0);
    p.setBrush(blau);
    p.drawRoundedRect(QRectF(3.75, 10.75, 54.5, 10.25), 2.5, 2.5);
    p.drawRect(QRectF(3.75, 16, 54.5, 5));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(8, 13.5, 20, 4.5), 1, 1);
    p.drawEllipse(QPointF(52, 15.75), 2.75, 2.75);

    p.setBrush(QColor(0x8a, 0x8a, 0x8a));
    p.drawRect(QRectF(8, 26, 26, 2.5));
    p.drawRect(QRectF(8, 32, 22, 2.5));
    p.drawRect(QRectF(8, 38, 26, 2.5));
    p.drawRect(QRectF(8, 44, 16, 2.5));

    p.setPen(QPen(QColor(0x33, 0x33, 0x33), 1.2));
    p.setBrush(Qt::white);
    for (int y : {25, 33, 41})
        p.drawRect(QRectF(42, y, 6, 6));

    QPen kreuz(QColor(0xc0, 0x39, 0x2b), 1.8);
    kreuz.setCapStyle(Qt::RoundCap);
    p.setPen(kreuz);
    p.drawLine(QPointF(43.2, 34.2), QPointF(46.8, 37.8));
    p.drawLine(QPointF(46.8, 34.2), QPointF(43.2, 37.8));
    return bild;
}

QIcon Programmsymbol()
{
    QIcon symbol;
    for (int groesse : {16, 24, 32, 48, 64, 128, 256})
        symbol.addPixmap(QPixmap::fromImage(ProgrammsymbolBild(groesse)));
    return symbol;
}
