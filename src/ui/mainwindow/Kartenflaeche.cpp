#include "mainwindow/Kartenflaeche.h"

#include "layout/Layoutanwendung.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace {

// The frame around the picked control: thicker than the marking's frames and
// in the selection colour, with a light tint over the control.
class Auswahlrahmen : public QWidget
{
public:
    explicit Auswahlrahmen(QWidget *parent)
        : QWidget(parent)
    {
        setObjectName(QStringLiteral("Auswahlrahmen"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const QColor farbe(0, 102, 204);
        QColor toenung = farbe;
        toenung.setAlpha(40);
        p.fillRect(rect(), toenung);
        p.setPen(QPen(farbe, 2));
        p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
};

constexpr int RahmenAbstand = 3;

} // namespace

void Kartenhintergrund::setKarte(QSizeF mm, double pixelProMm)
{
    if (mm == m_karte && pixelProMm == m_pixelProMm)
        return;
    m_karte = mm;
    m_pixelProMm = pixelProMm;
    update();
}

void Kartenhintergrund::setUmriss(bool an)
{
    if (an != m_umriss) {
        m_umriss = an;
        update();
    }
}

void Kartenhintergrund::setRaster(bool an)
{
    if (an != m_raster) {
        m_raster = an;
        update();
    }
}

void Kartenhintergrund::paintEvent(QPaintEvent *event)
{
    const bool karte = m_karte.width() > 0.0 && m_karte.height() > 0.0;
    // The scan is a 1:1 picture of the card: shown at the card's size, every
    // item lands on it where it lands on the printed card, however large the
    // window's card area is.
    if (!karte || pixmap().isNull()) {
        QLabel::paintEvent(event);
    } else {
        QPainter p(this);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawPixmap(QRectF(0, 0, m_karte.width() * m_pixelProMm, m_karte.height() * m_pixelProMm), pixmap(),
                     QRectF(pixmap().rect()));
    }
    if ((!m_umriss && !m_raster) || !karte)
        return;
    QPainter p(this);
    const double f = m_pixelProMm;
    // Pixel centres, so that a line of one pixel is sharp.
    auto px = [f](double mm) { return std::floor(mm * f) + 0.5; };
    const double rechts = px(m_karte.width()) - 1.0;
    const double unten = px(m_karte.height()) - 1.0;
    if (m_raster) {
        p.setPen(QPen(QColor(120, 160, 220, 90), 1));
        for (int mm = 10; mm < m_karte.width(); mm += 10)
            p.drawLine(QPointF(px(mm), 0.5), QPointF(px(mm), unten));
        for (int mm = 10; mm < m_karte.height(); mm += 10)
            p.drawLine(QPointF(0.5, px(mm)), QPointF(rechts, px(mm)));
    }
    if (m_umriss) {
        p.setPen(QPen(QColor(90, 90, 90), 1));
        p.drawRect(QRectF(QPointF(0.5, 0.5), QPointF(rechts, unten)));
    }
}

Kartenflaeche::Kartenflaeche(QWidget *parent)
    : QWidget(parent)
    , m_rahmen(new Auswahlrahmen(this))
{
}

void Kartenflaeche::setSteuerelemente(const QHash<QString, QWidget *> &steuer)
{
    m_steuer = steuer;
}

double Kartenflaeche::pixelProMm() const
{
    return logicalDpiX() / 25.4;
}

void Kartenflaeche::setZiehen(bool an)
{
    if (an == m_ziehen)
        return;
    m_ziehen = an;
    // The controls take no clicks while they are moved: a tick box must not
    // toggle when it is picked.
    for (QWidget *w : std::as_const(m_steuer))
        w->setAttribute(Qt::WA_TransparentForMouseEvents, an);
    setFocusPolicy(an ? Qt::ClickFocus : Qt::NoFocus);
    if (!an) {
        m_gewaehlt.clear();
        m_zieht = false;
        unsetCursor();
    }
    rahmenNachfuehren();
}

void Kartenflaeche::rahmenNachfuehren()
{
    const QWidget *w = m_steuer.value(m_gewaehlt);
    if (!m_ziehen || !w || !w->isVisible()) {
        m_rahmen->hide();
        return;
    }
    m_rahmen->setGeometry(w->geometry().adjusted(-RahmenAbstand, -RahmenAbstand, RahmenAbstand, RahmenAbstand));
    m_rahmen->raise();
    m_rahmen->show();
}

QString Kartenflaeche::steuerelementBei(QPoint punkt) const
{
    // The children in drawing order, the topmost last.
    const QObjectList kinder = children();
    for (auto it = kinder.crbegin(); it != kinder.crend(); ++it) {
        const auto *w = qobject_cast<const QWidget *>(*it);
        if (!w || !w->isVisible() || !w->geometry().contains(punkt))
            continue;
        const QString name = w->objectName();
        if (m_steuer.value(name) == w)
            return name;
    }
    return QString();
}

void Kartenflaeche::mousePressEvent(QMouseEvent *event)
{
    if (!m_ziehen || event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    m_gewaehlt = steuerelementBei(event->position().toPoint());
    m_zieht = !m_gewaehlt.isEmpty() && lage;
    if (m_zieht) {
        m_druckpunkt = event->position().toPoint();
        m_startMm = lage(m_gewaehlt);
        setCursor(Qt::ClosedHandCursor);
    }
    rahmenNachfuehren();
}

void Kartenflaeche::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_zieht || !verschieben) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    const QPointF weg = QPointF(event->position().toPoint() - m_druckpunkt) / pixelProMm();
    verschieben(m_gewaehlt, m_startMm + weg);
}

void Kartenflaeche::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_zieht && event->button() == Qt::LeftButton) {
        m_zieht = false;
        unsetCursor();
    }
    QWidget::mouseReleaseEvent(event);
}

void Kartenflaeche::keyPressEvent(QKeyEvent *event)
{
    QPointF richtung;
    switch (event->key()) {
    case Qt::Key_Left: richtung = QPointF(-1, 0); break;
    case Qt::Key_Right: richtung = QPointF(1, 0); break;
    case Qt::Key_Up: richtung = QPointF(0, -1); break;
    case Qt::Key_Down: richtung = QPointF(0, 1); break;
    default: break;
    }
    if (!m_ziehen || m_gewaehlt.isEmpty() || richtung.isNull() || !lage || !verschieben || m_zieht) {
        QWidget::keyPressEvent(event);
        return;
    }
    const double schritt = event->modifiers().testFlag(Qt::ShiftModifier) ? GrosserSchrittMm : SchrittMm;
    verschieben(m_gewaehlt, lage(m_gewaehlt) + richtung * schritt);
}
