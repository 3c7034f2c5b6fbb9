#include "printing/Kalibrierkarte.h"

#include "core/Einstellungen.h"
#include "core/Hilfen.h"
#include "printing/Zeichenziel.h"

#include <QLocale>
#include <cmath>

namespace {

constexpr float kreuzArm = 3.0f;
constexpr float beschriftungAbstand = 1.0f;
constexpr float beschriftungPunkte = 8.0f;
constexpr float skalaPunkte = 6.0f;
// Tick lengths of the rulers: every millimetre, every 5 and every 10.
constexpr float strichMm = 2.0f;
constexpr float strichFuenf = 3.0f;
constexpr float strichZehn = 4.0f;
// The ruler's numbers start beside their 10 mm tick, clear of the short ticks.
constexpr float zahlQuer = 2.5f;
constexpr float zahlLaengs = 0.5f;

// Whole millimetres as they are; a card size with a fraction gives its
// crosshairs a place with one decimal.
QString massText(double mm)
{
    if (std::fabs(mm - std::round(mm)) < 0.05)
        return QString::number(std::lround(mm));
    return QLocale().toString(mm, 'f', 1);
}

// Texts go where the card renderer would put them: a place left of or above
// the printable area goes to its edge.
void textAn(Zeichenziel &ziel, const QString &text, float x, float y)
{
    ziel.setCurrentX(x);
    if (ziel.CurrentX() < 0.0f)
        ziel.setCurrentX(0.0f);
    ziel.setCurrentY(y);
    if (ziel.CurrentY() < 0.0f)
        ziel.setCurrentY(0.0f);
    ziel.Print(text);
}

float strichLaenge(int mm)
{
    return mm % 10 == 0 ? strichZehn : mm % 5 == 0 ? strichFuenf : strichMm;
}

// Rounded to hundredths, so that -1.5 + (10 - 12.3) reads -3,8 and not
// -3,799999.
float gerundet(double mm)
{
    return static_cast<float>(std::round(mm * 100.0) / 100.0);
}

QString mmText(float mm)
{
    return SingleAlsText(mm) + QStringLiteral(" mm");
}

} // namespace

QList<Fadenkreuz> KalibrierFadenkreuze(float QSLWidth, float QSLHeight)
{
    const double a = KalibrierAbstand;
    const double rechts = double(QSLWidth) - a;
    const double unten = double(QSLHeight) - a;
    QList<Fadenkreuz> kreuze;
    for (const QPointF &p : {QPointF(a, a), QPointF(rechts, a), QPointF(a, unten), QPointF(rechts, unten)})
        kreuze.append({p, massText(p.x()) + QLatin1Char('/') + massText(p.y())});
    return kreuze;
}

void KalibrierkarteZeichnen(Zeichenziel &ziel, float QSLWidth, float QSLHeight, float RandOben, float RandLinks)
{
    const float l = RandLinks;
    const float o = RandOben;
    ziel.setFontName(QStringLiteral("Arial"));
    ziel.setFontBold(true);

    ziel.setFontSize(skalaPunkte);
    for (int mm = 0; mm <= int(std::floor(QSLWidth)); ++mm) {
        ziel.Line(mm + l, o, mm + l, strichLaenge(mm) + o);
        if (mm > 0 && mm % 10 == 0)
            textAn(ziel, QString::number(mm), mm + zahlLaengs + l, zahlQuer + o);
    }
    for (int mm = 0; mm <= int(std::floor(QSLHeight)); ++mm) {
        ziel.Line(l, mm + o, strichLaenge(mm) + l, mm + o);
        if (mm > 0 && mm % 10 == 0)
            textAn(ziel, QString::number(mm), zahlQuer + l, mm + zahlLaengs + o);
    }

    ziel.setFontSize(beschriftungPunkte);
    for (const Fadenkreuz &k : KalibrierFadenkreuze(QSLWidth, QSLHeight)) {
        const float x = float(k.mitte.x()) + l;
        const float y = float(k.mitte.y()) + o;
        ziel.Line(x - kreuzArm, y, x + kreuzArm, y);
        ziel.Line(x, y - kreuzArm, x, y + kreuzArm);
        textAn(ziel, k.beschriftung, x + beschriftungAbstand, y + beschriftungAbstand);
    }
}

KalibrierVorschlag KorrekturAusMessung(float RandOben, float RandLinks, const QString &gemessenX,
                                       const QString &gemessenY)
{
    KalibrierVorschlag v;
    const std::optional<double> x = DezimalzahlAusText(gemessenX);
    const std::optional<double> y = DezimalzahlAusText(gemessenY);
    if (gemessenX.trimmed().isEmpty() && gemessenY.trimmed().isEmpty()) {
        v.text = QStringLiteral("Kalibrierkarte drucken und messen, wo die Mitte des Fadenkreuzes „10/10“ liegt.");
        return v;
    }
    if (!x || !y || *x < 0.0 || *y < 0.0) {
        v.text = QStringLiteral("Bitte beide Maße in Millimetern vom linken und oberen Kartenrand eingeben.");
        return v;
    }
    v.gemessen = true;
    v.links = gerundet(double(RandLinks) + KalibrierAbstand - *x);
    v.oben = gerundet(double(RandOben) + KalibrierAbstand - *y);
    // A correction above 0 would move the print down or right, beyond the
    // start of the printable area, which no printer can do: the card itself
    // has to lie differently in the printer.
    QStringList zuWeit;
    if (v.oben > 0.0f)
        zuWeit << QStringLiteral("Der Druck liegt %1 zu hoch.").arg(mmText(v.oben));
    if (v.links > 0.0f)
        zuWeit << QStringLiteral("Der Druck liegt %1 zu weit links.").arg(mmText(v.links));
    if (!zuWeit.isEmpty()) {
        v.text = zuWeit.join(QLatin1Char(' '))
                 + QStringLiteral(" Das kann die Randkorrektur nicht ausgleichen, sie nimmt nur Werte bis 0: "
                                  "Legen Sie die Karte entsprechend versetzt in den Drucker "
                                  "(Papierführung) und drucken Sie die Kalibrierkarte noch einmal.");
        return v;
    }
    v.druckbar = true;
    v.text = QStringLiteral("Neue Korrektur: Rand oben %1, Rand links %2").arg(mmText(v.oben), mmText(v.links));
    return v;
}
