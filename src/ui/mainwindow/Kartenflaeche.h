#pragma once

#include <QHash>
#include <QLabel>
#include <QPointF>
#include <QSizeF>
#include <functional>

// The card scan behind the preview (Bild1). Without a scan it draws the card's
// outline at the card size, and while the layout window is open a light 10 mm
// grid over the card, over the scan too. Neither is a card control, so the
// renderer, which prints the controls, never sees them.
class Kartenhintergrund : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

    // The card size in millimetres and this screen's pixels per millimetre.
    void setKarte(QSizeF mm, double pixelProMm);
    void setUmriss(bool an);
    void setRaster(bool an);
    bool umriss() const { return m_umriss; }
    bool raster() const { return m_raster; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSizeF m_karte{140.0, 90.0};
    double m_pixelProMm = 1.0;
    bool m_umriss = true;
    bool m_raster = false;
};

// The main window's card area. While the layout window marks the preview, a
// click picks the card control under the pointer and frames it; dragging moves
// it, and the arrow keys move it by SchrittMm (with Shift GrosserSchrittMm)
// while the area has the focus. The area only turns the mouse and the keys
// into millimetres: each move goes to verschieben as the place the control's
// top-left corner is wanted at, and whoever handles it decides where the
// control lands and redraws the preview.
class Kartenflaeche : public QWidget
{
    Q_OBJECT

public:
    explicit Kartenflaeche(QWidget *parent = nullptr);

    // The card controls by name, the ones a click can pick.
    void setSteuerelemente(const QHash<QString, QWidget *> &steuer);
    // Picking and moving on or off; off forgets the picked control.
    void setZiehen(bool an);
    bool ziehen() const { return m_ziehen; }
    // The picked control's name, empty when none is picked.
    QString gewaehlt() const { return m_gewaehlt; }
    // Puts the frame around the picked control again, after the preview was
    // redrawn.
    void rahmenNachfuehren();

    // The place of a card control's top-left corner, in millimetres.
    std::function<QPointF(const QString &name)> lage;
    std::function<void(const QString &name, QPointF mm)> verschieben;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString steuerelementBei(QPoint punkt) const;
    double pixelProMm() const;

    QHash<QString, QWidget *> m_steuer;
    QWidget *m_rahmen = nullptr;
    bool m_ziehen = false;
    QString m_gewaehlt;
    // While the mouse button is down on the picked control: where it went
    // down and where the control was then.
    bool m_zieht = false;
    QPoint m_druckpunkt;
    QPointF m_startMm;
};
