#include "printing/DruckerBericht.h"

#include "core/Zahlformat.h"
#include "core/Zustand.h"
#include "layout/Kartenlayout.h"
#include "printing/Zeichenziel.h"

#include <array>

const QString BerichtTitelZiel = QStringLiteral(" Eingestellter Drucker: Informationen");
const QString BerichtTitelStandard = QStringLiteral(" Standard - Drucker: Informationen");

namespace {

const QString unbekannt = QStringLiteral("nicht ermittelbar");
const QString unbekanntSw = QStringLiteral("nicht ermittelbar, S/W");

struct Eintrag
{
    int code;
    const char *text;
};

template <std::size_t N>
QString nachschlagen(const std::array<Eintrag, N> &tabelle, int code)
{
    for (const Eintrag &e : tabelle) {
        if (e.code == code)
            return QString::fromUtf8(e.text);
    }
    return unbekannt;
}

constexpr std::array<Eintrag, 2> ausrichtungen{{{1, "Portrait (Hochformat)"}, {2, "Landscape (Querformat)"}}};

constexpr std::array<Eintrag, 3> farben{{{0, "nicht ermittelbar, S/W"}, {1, "nicht möglich"}, {2, "möglich"}}};

constexpr std::array<Eintrag, 3> duplex{{{1, "einseitiger Ausdruck"},
                                         {2, "beidseitiger Ausdruck mit horizontalem Seitenwechsel"},
                                         {3, "beidseitiger Ausdruck mit vertikalem Seitenwechsel"}}};

constexpr std::array<Eintrag, 12> behaelter{{
    {1, "oberer Papierbehälter"},
    {2, "unterer Papierbehälter"},
    {3, "mittlerer Papierbehälter"},
    {4, "manuelles Einlegen von Einzelblättern"},
    {5, "Umschlagspapiereinzug"},
    {6, "Umschlagspapiereinzug (manuelles Einlegen)"},
    {7, "Standardbehälter für Papier"},
    {8, "Papier per Traktoreinzug"},
    {9, "kleiner Papierbehälter"},
    {10, "großer Papierbehälter"},
    {11, "großer Papiervorrat"},
    {14, "Kassetten-Cartridge"},
}};

constexpr std::array<Eintrag, 11> masseinheiten{{
    {0, "Benutzer definiert"},
    {1, "Twips"},
    {2, "Punkt"},
    {3, "Pixel"},
    {4, "Zeichen"},
    {5, "Zoll"},
    {6, "Millimeter"},
    {7, "Zentimeter"},
    {8, "HiMetric"},
    {9, "intern 1"},
    {10, "intern 2"},
}};

// Paper codes 1 to 41 in code order.
constexpr std::array<const char *, 41> papiernamen{
    "US Letter",
    "US Letter Small",
    "US Tabloid",
    "US Ledger",
    "US Legal",
    "US Statement",
    "US Executive",
    "DIN A3",
    "DIN A4",
    "DIN A4 klein",
    "DIN A5",
    "DIN B4",
    "DIN B5",
    "Folio",
    "Quarto",
    "10x14 Zoll",
    "11x17 Zoll",
    "US Note",
    "Umschlag 9",
    "Umschlag 10",
    "Umschlag 11",
    "Umschlag 12",
    "Umschlag 14",
    "Blatt in C-Größe",
    "Blatt in D-Größe",
    "Blatt in E-Größe",
    "Umschlag DL",
    "Umschlag C5",
    "Umschlag C3",
    "Umschlag C4",
    "Umschlag C6",
    "Umschlag C65",
    "Umschlag B4",
    "Umschlag B5",
    "Umschlag B6",
    "Umschlag 110x230 mm",
    "Umschlag Monarch",
    "Umschlag 3 5/8 x 6 1/2 Zoll",
    "US Standard Fanfold",
    "Deutsch Standard-Durchschlag",
    "Deutsch Legal-Umschlag",
};

QString papiergroesse(int code, float breite, float hoehe)
{
    if (code >= 1 && code <= static_cast<int>(papiernamen.size()))
        return QString::fromUtf8(papiernamen[static_cast<std::size_t>(code - 1)]);
    if (!IstBenutzerPapiercode(code))
        return unbekannt;
    QString text =
        code == PapierBenutzer ? QStringLiteral("benutzerdefiniert ") : QStringLiteral("benutzerdefiniert: ");
    if (breite > 0 && hoehe > 0)
        text += FormatZahl(breite, QStringLiteral("###0.0")) + QStringLiteral(" x ")
                + FormatZahl(hoehe, QStringLiteral("###0.0"));
    return text;
}

QString aufloesung(int qualitaet)
{
    switch (qualitaet) {
    case -1: return QStringLiteral("Entwurfsauflösung");
    case -2: return QStringLiteral("geringe Auflösung");
    case -3: return QStringLiteral("mittlere Auflösung");
    case -4: return QStringLiteral("hohe Auflösung");
    default: break;
    }
    return qualitaet > 0 ? QString::number(qualitaet) + QStringLiteral(" dpi") : unbekannt;
}

} // namespace

QString DruckerBericht(const Zeichenziel &drucker, const Zeichenziel &objZiel)
{
    const QString &crlf = Zustand::CrLf;
    const QString drei = QStringLiteral("   ");
    QString t;
    t += QStringLiteral("Gerätename: ") + drucker.DeviceName() + crlf;
    t += QStringLiteral("Treiber: ") + drucker.DriverName().value_or(QString()) + crlf;
    t += QStringLiteral("Schnittstelle: ") + drucker.Port().value_or(QString()) + crlf + crlf;
    t += QStringLiteral("Ausrichtung: ") + nachschlagen(ausrichtungen, drucker.Orientation().value_or(0)) + drei + crlf;
    t += QStringLiteral("Farbausgabe: ") + nachschlagen(farben, drucker.ColorMode().value_or(0)) + crlf;
    t += QStringLiteral("Ausdruck: ") + nachschlagen(duplex, drucker.Duplex().value_or(0)) + drei + crlf;
    t += QStringLiteral("Druckpapierentnahme: ") + nachschlagen(behaelter, drucker.PaperBin().value_or(0)) + drei + crlf
         + crlf;

    float breite = drucker.Width().value_or(0.0f);
    float hoehe = drucker.Height().value_or(0.0f);
    const int masseinheit = drucker.ScaleMode();
    const bool millimeter = masseinheit == 6;
    if (millimeter) {
        breite /= float(Zeichenziel::TwipsProMm);
        hoehe /= float(Zeichenziel::TwipsProMm);
    } else if (masseinheit == 7) {
        breite /= float(Zeichenziel::TwipsProMm * 10.0);
        hoehe /= float(Zeichenziel::TwipsProMm * 10.0);
    }
    t += QStringLiteral("Maßeinheit: ") + nachschlagen(masseinheiten, masseinheit) + drei + crlf;
    t += QStringLiteral("Papiergröße: ") + papiergroesse(drucker.PaperSize().value_or(0), breite, hoehe) + crlf;
    t += QStringLiteral("Druckerauflösung: ") + aufloesung(drucker.PrintQuality().value_or(0)) + crlf;
    const int zoom = objZiel.Zoom().value_or(0);
    t += QStringLiteral("Skalierungsfaktor: ")
         + (zoom > 0 ? QString::number(zoom) + QStringLiteral("/100") : QStringLiteral("? (eventuell 1:1)")) + crlf;
    t += QStringLiteral("Seitennummer:") + QString::number(drucker.Page().value_or(0)) + crlf + crlf;

    // A colour mode the printer keeps to itself says nothing about printing
    // black text on a card; every other unknown property does.
    QString ohneFarbe = t;
    ohneFarbe.remove(unbekanntSw);
    const bool geeignet = millimeter && !ohneFarbe.contains(unbekannt);
    t += geeignet ? QStringLiteral("Druckereignung: möglich") : QStringLiteral("Druckereignung: fraglich");
    return t;
}
