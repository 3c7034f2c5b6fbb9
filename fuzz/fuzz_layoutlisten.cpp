// The stored card layout read back and applied, as the layout window does it at
// start-up with whatever the settings file holds. Input lines (UTF-8): the
// stored Felder, AktivFeld, Aktiv2Feld … Aktiv5Feld, then QSLWidth and
// QSLHeight as typed into the card size boxes.

#include "FuzzHilfe.h"

#include "core/Einstellungen.h"
#include "core/Hilfen.h"
#include "layout/Kartenlayout.h"
#include "layout/Layoutanwendung.h"

#include <cmath>

namespace {

template <std::size_t N>
void flagsPruefen(const QString &text, std::array<bool, N> &flags)
{
    const std::array<bool, N> vorher = flags;
    FlagsAusText(text, flags);
    if (text.isEmpty()) {
        FUZZ_PRUEFEN(flags == vorher);
        return;
    }
    const QStringList stuecke = text.split(QLatin1Char(';'));
    for (std::size_t i = 0; i < N; ++i) {
        const qsizetype k = static_cast<qsizetype>(i);
        if (k >= stuecke.size() - 1) {
            FUZZ_PRUEFEN(flags[i] == vorher[i]);
            continue;
        }
        const QString &s = stuecke.at(k);
        if (s.isEmpty() || s == QLatin1String("0") || (s.at(0).isLetter()))
            FUZZ_PRUEFEN(!flags[i]);
        else if (s == QLatin1String("1"))
            FUZZ_PRUEFEN(flags[i]);
    }
}

void felderPruefen(const QString &text, std::array<QString, AnzahlFelder> &felder)
{
    const std::array<QString, AnzahlFelder> vorher = felder;
    FelderAusText(text, felder);
    const QStringList stuecke = text.isEmpty() ? QStringList() : text.split(QLatin1Char(';'));
    for (int i = 0; i < AnzahlFelder; ++i) {
        const bool gelesen = i < stuecke.size() - 1 && !stuecke.at(i).isEmpty();
        FUZZ_PRUEFEN(felder[i] == (gelesen ? stuecke.at(i) : vorher[i]));
    }
}

bool masszahl(float v)
{
    return std::isfinite(v) && std::fabs(v) <= GroessteMasszahl;
}

void anwendungPruefen(const LayoutAnwendung &a, float breite, float hoehe)
{
    FUZZ_PRUEFEN(a.FehlerFeld >= -1 && a.FehlerFeld < AnzahlFelder);
    for (const Platzierung &p : a.Vorschau) {
        for (const std::optional<float> &v : {p.Links, p.Oben, p.Hoehe, p.Breite})
            FUZZ_PRUEFEN(!v || masszahl(*v));
        FUZZ_PRUEFEN(!p.Hoehe || *p.Hoehe >= 0.0f);
        FUZZ_PRUEFEN(!p.Breite || *p.Breite >= 0.0f);
        // Only the day and the year may lie outside the card.
        if (p.Name == QLatin1String("lbDay") || p.Name == QLatin1String("lbJahr"))
            continue;
        FUZZ_PRUEFEN(!p.Links || (*p.Links >= 0.0f && (breite <= 0.0f || *p.Links < breite)));
        FUZZ_PRUEFEN(!p.Oben || (*p.Oben >= 0.0f && (hoehe <= 0.0f || *p.Oben < hoehe)));
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzHilfe::einrichten();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *daten, size_t groesse)
{
    const QByteArrayList t = FuzzHilfe::teile(FuzzHilfe::bytes(daten, groesse), 8);
    QStringList text;
    for (const QByteArray &b : t)
        text << QString::fromUtf8(b);

    Kartenlayout layout = AnfangsLayout();
    felderPruefen(text.at(0), layout.Felder);
    flagsPruefen(text.at(1), layout.Aktiv1);
    flagsPruefen(text.at(2), layout.Aktiv2);
    flagsPruefen(text.at(3), layout.Aktiv3);
    flagsPruefen(text.at(4), layout.Aktiv4);
    flagsPruefen(text.at(5), layout.Aktiv5);

    for (float *mass : {&layout.QSLWidth, &layout.QSLHeight}) {
        const QString &s = text.at(mass == &layout.QSLWidth ? 6 : 7);
        const float vorher = *mass;
        if (KartenmassAusText(s, *mass))
            FUZZ_PRUEFEN(masszahl(*mass));
        else
            FUZZ_PRUEFEN(*mass == vorher);
        float gelesen = 0.0f;
        if (SingleAusText(s, gelesen))
            FUZZ_PRUEFEN(std::isfinite(gelesen));
        // The size as the layout window shows it reads back as the same size.
        if (masszahl(*mass))
            FUZZ_PRUEFEN(std::fabs(ZahlAusText(KartenmassAlsText(*mass)) - double(*mass)) <= 0.005 + 1e-6);
    }

    const LayoutAnwendung a = LayoutAnwenden(layout, layout.QSLWidth, layout.QSLHeight);
    anwendungPruefen(a, layout.QSLWidth, layout.QSLHeight);
    const QSizeF aussen = HauptfensterAussenmass(layout.QSLWidth, layout.QSLHeight, static_cast<int>(groesse));
    FUZZ_PRUEFEN(std::isfinite(aussen.width()) && aussen.width() >= 0 && std::isfinite(aussen.height())
                 && aussen.height() >= 0);
    if (!a.vollstaendig())
        return 0;

    // What the apply stores is what the next start reads back, and applying that
    // again changes nothing.
    Layoutwerte zurueck;
    FelderAusText(FelderAlsText(a.Werte.Felder), zurueck.Felder);
    FlagsAusText(FlagsAlsText(a.Werte.Aktiv1), zurueck.Aktiv1);
    FlagsAusText(FlagsAlsText(a.Werte.Aktiv2), zurueck.Aktiv2);
    FlagsAusText(FlagsAlsText(a.Werte.Aktiv3), zurueck.Aktiv3);
    FlagsAusText(FlagsAlsText(a.Werte.Aktiv4), zurueck.Aktiv4);
    FlagsAusText(FlagsAlsText(a.Werte.Aktiv5), zurueck.Aktiv5);
    FUZZ_PRUEFEN(zurueck == a.Werte);
    const LayoutAnwendung b = LayoutAnwenden(zurueck, layout.QSLWidth, layout.QSLHeight);
    FUZZ_PRUEFEN(b.vollstaendig() && b.Werte == a.Werte);
    return 0;
}
