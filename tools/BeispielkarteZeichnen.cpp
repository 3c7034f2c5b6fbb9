// Draws the sample card, a plain pre-printed QSL card with fields and tick
// boxes, as a 300 dpi scan "Beispielkarte.png". The card is drawn from the
// layout file that comes with it: every field box, line and tick box is put
// where that layout places its item, so the two always fit each other.
#include "core/Hilfen.h"
#include "layout/Kartenlayout.h"
#include "layout/Kartenvorschau.h"
#include "layout/Layoutanwendung.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <cstdio>

namespace {

constexpr double Dpi = 300.0;
constexpr double PxJeMm = Dpi / 25.4;

const QColor Papier(252, 249, 240);
const QColor Linie(31, 59, 115);
const QColor Titel(160, 30, 40);

// How the card shows a text item: a framed box with its caption in the
// corner, a cell of the QSO table (several may share a heading above them),
// a line to write on with its caption before it, or the signature line.
enum class Stil { Kasten, Zelle, Linie, Unterschrift };

struct Feld
{
    const char *name;
    Stil stil;
    const char *beschriftung;
    const char *gruppe = nullptr; // a cell's common heading
};

const Feld felder[] = {
    {"lbCall", Stil::Kasten, "To Radio"},
    {"lbDay", Stil::Zelle, "Day", "Date"},
    {"lbMonat", Stil::Zelle, "Month", "Date"},
    {"lbJahr", Stil::Zelle, "Year", "Date"},
    {"lbUTC", Stil::Zelle, "UTC"},
    {"lbRST", Stil::Zelle, "RST"},
    {"lbQSLvia", Stil::Linie, "QSL via"},
    {"lbRIG", Stil::Linie, "Rig"},
    {"lbANT", Stil::Linie, "Ant"},
    {"lbComment", Stil::Linie, "Remarks"},
    {"imUnterschrift", Stil::Unterschrift, "Unterschrift"},
};

// A group of tick boxes, Check<gruppe>(i); a box without caption is the open
// one, with a line to write on as long as the group's text item.
struct Kreuzgruppe
{
    const char *titel;
    int gruppe;
    QList<const char *> boxen;
    const char *textFeld;
};

const Kreuzgruppe kreuzgruppen[] = {
    {"2-Way", 1, {"CW", "SSB", "FM", "RTTY", ""}, "lb2Way"},
    {"MHz", 2, {"144", "145", "432", "1296", ""}, "lbMHZ"},
    {"QSO via", 3, {"TROPO", "AURORA", "RPT", "ES", "SAT", "MS", ""}, "lbQSOvia"},
    {"Confirming", 4, {"QSO", "SWL"}, nullptr},
    {"PSE / TNX QSL", 5, {"PSE", "TNX"}, nullptr},
};

class Karte
{
public:
    explicit Karte(const Kartenlayout &layout)
        : m_layout(layout)
        , m_bild(qRound(layout.QSLWidth * PxJeMm), qRound(layout.QSLHeight * PxJeMm), QImage::Format_RGB32)
    {
        m_bild.setDotsPerMeterX(qRound(Dpi / 0.0254));
        m_bild.setDotsPerMeterY(qRound(Dpi / 0.0254));
        m_bild.fill(Papier);
    }

    QImage zeichnen()
    {
        QPainter p(&m_bild);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        m_p = &p;
        stift(0.4);
        p.drawRoundedRect(mm(QRectF(1.5, 1.5, m_layout.QSLWidth - 3.0, m_layout.QSLHeight - 3.0)), mm(2.0), mm(2.0));
        kopf();
        for (const Feld &f : felder)
            feld(f);
        for (const Kreuzgruppe &g : kreuzgruppen)
            kreuze(g);
        p.end();
        return m_bild;
    }

private:
    static double mm(double wert) { return wert * PxJeMm; }
    static QRectF mm(const QRectF &r) { return QRectF(mm(r.x()), mm(r.y()), mm(r.width()), mm(r.height())); }

    double wert(int k) const { return ZahlAusText(m_layout.Felder[k]); }
    // An item's rectangle in millimetres as the layout places it.
    QRectF rechteck(const QString &name) const
    {
        const int k = PositionsEintrag(name);
        return QRectF(wert(k + MassLinks), wert(k + MassOben), wert(k + MassBreite), wert(k + MassHoehe));
    }

    void stift(double breiteMm) { m_p->setPen(QPen(Linie, mm(breiteMm))); }
    void schrift(double punkte, bool fett = false)
    {
        QFont f(QStringLiteral("Arial"));
        f.setPointSizeF(punkte);
        f.setBold(fett);
        m_p->setFont(f);
    }
    // A text whose baseline starts at (x, y) mm, or ends there when rechtsbuendig.
    void text(double x, double y, const QString &t, bool rechtsbuendig = false)
    {
        const double breite = QFontMetricsF(m_p->font(), &m_bild).horizontalAdvance(t);
        m_p->drawText(QPointF(mm(x) - (rechtsbuendig ? breite : 0.0), mm(y)), t);
    }
    void mittig(const QRectF &r, const QString &t) { m_p->drawText(mm(r), Qt::AlignCenter, t); }

    void kopf()
    {
        m_p->setPen(Titel);
        schrift(40, true);
        text(6.0, 16.0, QStringLiteral("QSL"));
        m_p->setPen(Linie);
        schrift(8);
        text(6.5, 21.5, QStringLiteral("Beispielkarte für Cardforge"));
    }

    void feld(const Feld &f)
    {
        const QRectF r = rechteck(QString::fromLatin1(f.name));
        const QString beschriftung = QString::fromUtf8(f.beschriftung);
        m_p->setBrush(Qt::NoBrush);
        switch (f.stil) {
        case Stil::Kasten:
            stift(0.35);
            m_p->drawRect(mm(r.adjusted(-2.0, -2.5, 2.0, 2.5)));
            m_p->setPen(Linie);
            schrift(6.5);
            text(r.left() - 1.2, r.top() - 0.2, beschriftung);
            break;
        case Stil::Zelle: {
            // The value row around the text, the heading row above it; cells
            // of a group share a row above their headings.
            const QRectF wertZeile(r.left(), r.top() - 1.5, r.width(), r.height() + 3.0);
            const double kopfHoehe = 4.5;
            QRectF kopfZeile(r.left(), wertZeile.top() - kopfHoehe, r.width(), kopfHoehe);
            if (!f.gruppe)
                kopfZeile.setTop(kopfZeile.top() - kopfHoehe);
            stift(0.3);
            m_p->drawRect(mm(wertZeile));
            m_p->drawRect(mm(kopfZeile));
            schrift(7, true);
            mittig(kopfZeile, beschriftung);
            if (f.gruppe)
                gruppenKopf(f.gruppe, QRectF(r.left(), kopfZeile.top() - kopfHoehe, r.width(), kopfHoehe));
            break;
        }
        case Stil::Linie:
            stift(0.25);
            m_p->drawLine(QPointF(mm(r.left()), mm(r.bottom())), QPointF(mm(r.right()), mm(r.bottom())));
            m_p->setPen(Linie);
            schrift(7.5, true);
            text(r.left() - 1.5, r.bottom() - 0.8, beschriftung + QLatin1Char(':'), true);
            break;
        case Stil::Unterschrift:
            stift(0.25);
            m_p->drawLine(QPointF(mm(r.left()), mm(r.bottom() + 0.5)), QPointF(mm(r.right()), mm(r.bottom() + 0.5)));
            m_p->setPen(Linie);
            schrift(6);
            mittig(QRectF(r.left(), r.bottom() + 0.8, r.width(), 2.6), QStringLiteral("73 – ") + beschriftung);
            break;
        }
    }

    // The heading over several cells of the table, drawn once across them all.
    void gruppenKopf(const char *gruppe, const QRectF &zelle)
    {
        QRectF &r = m_gruppen[QString::fromLatin1(gruppe)];
        r = r.isNull() ? zelle : r.united(zelle);
        stift(0.3);
        m_p->fillRect(mm(r).adjusted(1, 1, -1, -1), Papier);
        m_p->drawRect(mm(r));
        schrift(7, true);
        mittig(r, QString::fromLatin1(gruppe));
    }

    void kreuze(const Kreuzgruppe &g)
    {
        // The renderer prints a tick as a bold 12 pt "X" whose line starts at
        // the box's place; the printed box is centred on that letter.
        QFont kreuz(QStringLiteral("Arial"));
        kreuz.setPointSizeF(12.0);
        kreuz.setBold(true);
        const QFontMetricsF fm(kreuz, &m_bild);
        const QRectF x = fm.tightBoundingRect(QStringLiteral("X")).translated(0.0, fm.ascent());
        const QPointF mitte(x.center().x() / PxJeMm, x.center().y() / PxJeMm);
        const double seite = 3.6;

        for (int i = 0; i < g.boxen.size(); ++i) {
            const QRectF ort = rechteck(Kartenvorschau::box(g.gruppe, i));
            const QRectF box(ort.topLeft() + mitte - QPointF(seite / 2, seite / 2), QSizeF(seite, seite));
            if (i == 0) {
                m_p->setPen(Linie);
                schrift(7.5, true);
                text(box.left() - 0.3, box.top() - 1.0, QString::fromLatin1(g.titel));
            }
            stift(0.3);
            m_p->setBrush(Qt::white);
            m_p->drawRect(mm(box));
            m_p->setBrush(Qt::NoBrush);
            const QString beschriftung = QString::fromLatin1(g.boxen.at(i));
            const double grundlinie = box.center().y() + 1.0;
            if (!beschriftung.isEmpty()) {
                m_p->setPen(Linie);
                schrift(7.5);
                text(box.right() + 1.2, grundlinie, beschriftung);
            } else if (g.textFeld) {
                stift(0.2);
                const double ende = ort.left() + rechteck(QString::fromLatin1(g.textFeld)).width();
                m_p->drawLine(QPointF(mm(box.right() + 1.2), mm(box.bottom())), QPointF(mm(ende), mm(box.bottom())));
            }
        }
    }

    const Kartenlayout &m_layout;
    QImage m_bild;
    QPainter *m_p = nullptr;
    QHash<QString, QRectF> m_gruppen;
};

} // namespace

int main(int argc, char **argv)
{
    // Text is measured with the fonts of the system; no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: BeispielkarteZeichnen <layout .ini> <target .png>\n");
        return 2;
    }
    Kartenlayout layout;
    if (!LayoutDateiLesen(QString::fromLocal8Bit(argv[1]), layout)) {
        std::fprintf(stderr, "cannot read the layout %s\n", argv[1]);
        return 1;
    }
    const QImage karte = Karte(layout).zeichnen();
    if (!karte.save(QString::fromLocal8Bit(argv[2]), "png")) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
