#include "printing/KartenDruck.h"

#include "core/Meldungen.h"
#include "layout/Kartenvorschau.h"
#include "printing/Randkorrektur.h"
#include "printing/Zeichenziel.h"

#include <QCoreApplication>
#include <cmath>

namespace {

enum class Art { Text, Kreuz, Pse, Gruppe, Unterschrift };

struct Posten
{
    const char *name;
    Art art;
};

// The order in which the card's items go onto the page.
constexpr Posten reihenfolge[] = {
    {"lbCall", Art::Text},      {"lbDay", Art::Text},
    {"lbMonat", Art::Text},     {"lbJahr", Art::Text},
    {"lbUTC", Art::Text},       {"lbRIG", Art::Text},
    {"lbRST", Art::Text},       {"lbRX", Art::Text},
    {"lbTX", Art::Text},        {"lbComment", Art::Text},
    {"lbANT", Art::Text},       {"lb2Way", Art::Text},
    {"Check4(0)", Art::Kreuz},  {"Check4(1)", Art::Kreuz},
    {"lbMHZ", Art::Text},       {"lbQSOvia", Art::Text},
    {"lbPSE", Art::Pse},        {"Check5(0)", Art::Kreuz},
    {"Check5(1)", Art::Kreuz},  {"lbQSLvia", Art::Text},
    {"Check1(0)", Art::Gruppe}, {"Check1(1)", Art::Gruppe},
    {"Check1(2)", Art::Gruppe}, {"Check1(3)", Art::Gruppe},
    {"Check1(4)", Art::Gruppe}, {"Check2(0)", Art::Gruppe},
    {"Check2(1)", Art::Gruppe}, {"Check2(2)", Art::Gruppe},
    {"Check2(3)", Art::Gruppe}, {"Check2(4)", Art::Gruppe},
    {"Check3(0)", Art::Gruppe}, {"Check3(1)", Art::Gruppe},
    {"Check3(2)", Art::Gruppe}, {"Check3(3)", Art::Gruppe},
    {"Check3(4)", Art::Gruppe}, {"Check3(5)", Art::Gruppe},
    {"Check3(6)", Art::Gruppe}, {"imUnterschrift", Art::Unterschrift},
};

constexpr float kreuzGroesse = 12.0f;
constexpr float rufzeichenGroesse = 36.0f;

// Positions left of or above the printable area go to its edge.
void setzeX(Zeichenziel &ziel, float x)
{
    ziel.setCurrentX(x);
    if (ziel.CurrentX() < 0.0f)
        ziel.setCurrentX(0.0f);
}

void setzeY(Zeichenziel &ziel, float y)
{
    ziel.setCurrentY(y);
    if (ziel.CurrentY() < 0.0f)
        ziel.setCurrentY(0.0f);
}

// Only blanks count as padding; a tab is part of the text.
QString ohneRandBlanks(const QString &text)
{
    qsizetype anfang = 0;
    qsizetype ende = text.size();
    while (anfang < ende && text.at(anfang) == QLatin1Char(' '))
        ++anfang;
    while (ende > anfang && text.at(ende - 1) == QLatin1Char(' '))
        --ende;
    return text.mid(anfang, ende - anfang);
}

// Shows the card scan again however the drawing ends.
class Bild1Verbergen
{
public:
    explicit Bild1Verbergen(const std::function<void(bool)> &f)
        : m_f(f)
    {
        if (m_f)
            m_f(false);
    }
    ~Bild1Verbergen()
    {
        if (m_f)
            m_f(true);
    }
    Bild1Verbergen(const Bild1Verbergen &) = delete;
    Bild1Verbergen &operator=(const Bild1Verbergen &) = delete;

private:
    const std::function<void(bool)> &m_f;
};

} // namespace

void TextEinpassen(Zeichenziel &ziel, const QString &text, float x, float breite)
{
    const QString t = ohneRandBlanks(text);
    const float n = static_cast<float>(t.size());
    float w = ziel.TextWidth(t);
    float e = ziel.TextWidth(QStringLiteral("MOWAH")) / 5.0f * n;
    while (breite < e) {
        const float jetzt = ziel.FontSize();
        if (!(jetzt > KleinsteSchrift))
            break;
        ziel.setFontSize(std::max(jetzt - 2.0f, KleinsteSchrift));
        // A target that keeps its size would loop for ever.
        if (!(ziel.FontSize() < jetzt))
            break;
        e = ziel.TextWidth(QStringLiteral("MOWAH")) / 5.0f * n;
        w = ziel.TextWidth(t);
    }
    ziel.setCurrentX(x + breite / 2.0f - w / 2.0f);
    ziel.Print(t);
}

bool KarteDrucken(const Kartenvorschau &vorschau, float RandOben, float RandLinks, Zeichenziel &ziel,
                  Meldungen &meldungen, const std::function<void(bool)> &bild1Sichtbar, Seitenende ende)
{
    const Bild1Verbergen verborgen(bild1Sichtbar);

    if (RandVerweigert(RandOben, RandLinks, meldungen))
        return false;

    ziel.setCurrentX(0.0f);
    ziel.setCurrentY(0.0f);
    ziel.setFontBold(true);

    for (const Posten &p : reihenfolge) {
        const KartenElement *e = vorschau.finde(QString::fromLatin1(p.name));
        if (!e)
            continue;
        switch (p.art) {
        case Art::Text:
            if (!e->sichtbar)
                break;
            ziel.setFontName(e->schriftName);
            ziel.setFontSize(e->name == QLatin1String("lbCall") ? rufzeichenGroesse : e->schriftGroesse);
            setzeX(ziel, e->links + RandLinks);
            setzeY(ziel, e->oben + RandOben);
            TextEinpassen(ziel, e->text, ziel.CurrentX(), e->breite);
            break;
        case Art::Kreuz:
            if (!e->sichtbar || !e->gesetzt)
                break;
            ziel.setFontName(e->schriftName);
            ziel.setFontSize(kreuzGroesse);
            setzeX(ziel, e->links + RandLinks);
            setzeY(ziel, e->oben + RandOben);
            ziel.Print(QStringLiteral("X"));
            break;
        case Art::Pse:
            if (!e->sichtbar)
                break;
            ziel.setFontName(e->schriftName);
            ziel.setFontSize(e->schriftGroesse);
            setzeX(ziel, e->links + RandLinks);
            setzeY(ziel, e->oben + RandOben);
            ziel.Print(e->text);
            break;
        case Art::Gruppe: {
            if (!e->gesetzt)
                break;
            ziel.setFontName(e->schriftName);
            ziel.setFontSize(kreuzGroesse);
            const float x = e->links + RandLinks;
            const float y = e->oben + RandOben;
            setzeX(ziel, x);
            setzeY(ziel, y);
            if (!e->sichtbar)
                break;
            ziel.Print(QStringLiteral("X"));
            if (e->text.isEmpty())
                break;
            ziel.setFontSize(e->schriftGroesse);
            const float g = ziel.TextWidth(QStringLiteral("WW"));
            // The mode captions keep their computed place; band and propagation
            // captions go to the edge of the printable area like everything else.
            if (e->name.startsWith(QLatin1String("Check1("))) {
                ziel.setCurrentX(x + g);
                ziel.setCurrentY(y);
            } else {
                setzeX(ziel, x + g);
                setzeY(ziel, y);
            }
            ziel.Print(e->text);
            break;
        }
        case Art::Unterschrift:
            // The layout hides it when the card has no signature; after a
            // restart it is also unplaced then, so printing it anyway would put
            // it somewhere else than before. An empty picture draws nothing.
            if (!e->sichtbar)
                break;
            ziel.PaintPicture(vorschau.unterschrift, e->links + RandLinks, e->oben + RandOben, e->breite, e->hoehe);
            break;
        }
    }

    if (ende == Seitenende::Offen)
        return true;
    ziel.EndDoc();
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
    return true;
}
