#include "printing/DruckerEinrichtung.h"

#include "core/Einstellungen.h"
#include "core/Hilfen.h"
#include "core/Umgebung.h"
#include "printing/Randkorrektur.h"
#include "printing/Zeichenziel.h"

#include <QCoreApplication>
#include <cmath>
#include <limits>

const QString DruckernameSchluessel = QStringLiteral("Druckername");

namespace {

constexpr int millimeter = 6;

void ereignisse()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

// The stored set-up onto the printer, unchecked: a value the printer does not
// take (0 included) is simply refused and the printer keeps its own.
void einstellungenAnwenden(const Zustand &z, Zeichenziel &ziel)
{
    ziel.setOrientation(z.DrFormat);
    ziel.setPaperSize(z.DrGroesse);
    ziel.setPaperBin(z.DrBehaelter);
    ziel.setHeight(z.QSLHeight * float(Zeichenziel::TwipsProMm));
    ziel.setWidth(z.QSLWidth * float(Zeichenziel::TwipsProMm));
}

void alsCode(const std::optional<int> &wert, qint16 &ziel)
{
    if (wert && *wert >= std::numeric_limits<qint16>::min() && *wert <= std::numeric_limits<qint16>::max())
        ziel = static_cast<qint16>(*wert);
}

// An empty box is no correction; a text that is no number is refused like a
// positive one.
float randAusText(const QString &text)
{
    if (text.trimmed().isEmpty())
        return 0.0f;
    return static_cast<float>(DezimalzahlAusText(text).value_or(NAN));
}

} // namespace

void DruckerEinstellungenLesen(Zustand &z)
{
    EinstellungLesen(QStringLiteral("DrFormat"), z.DrFormat);
    EinstellungLesen(QStringLiteral("DrGroesse"), z.DrGroesse);
    EinstellungLesen(QStringLiteral("DrBehaelter"), z.DrBehaelter);
    EinstellungLesen(QStringLiteral("PrinterRandOben"), z.RandOben);
    EinstellungLesen(QStringLiteral("PrinterRandlinks"), z.RandLinks);
}

bool DruckerEinrichten(Umgebung &u)
{
    Zustand &z = u.z;
    if (!z.objZiel)
        return false;
    Zeichenziel &ziel = *z.objZiel;

    bool gewaehlt = false;
    QString druckername;
    for (;;) {
        ziel.setScaleMode(millimeter);
        einstellungenAnwenden(z, ziel);
        const QString alt = ziel.DeviceName();
        ereignisse();

        CommonDialog dlg;
        dlg.Flags = CommonDialog::cdlPDPrintSetup;
        dlg.PrinterDefault = true;
        dlg.CancelError = true;
        if (z.DrFormat > 0)
            dlg.Orientation = z.DrFormat;
        dlg.PrinterName = alt;
        dlg.PaperSize = z.DrGroesse;
        dlg.PaperBin = z.DrBehaelter;
        dlg.PaperWidth = z.QSLWidth;
        dlg.PaperHeight = z.QSLHeight;

        DialogErgebnis ergebnis = DialogErgebnis::Fehler;
        for (;;) {
            QString fehler;
            ergebnis = u.dialoge.ShowPrinter(dlg, &fehler);
            if (ergebnis != DialogErgebnis::Fehler)
                break;
            const Antwort a = u.meldungen.zeigen(QStringLiteral("Drucker-Fehler?"),
                                                 fehler + z.CrLf + QStringLiteral("Wiederholen ? "), Symbol::Ausruf,
                                                 Knoepfe::AbbrechenWiederholenIgnorieren);
            if (a == Antwort::Wiederholen)
                continue;
            if (a != Antwort::Ignorieren)
                return false;
            break;
        }
        if (ergebnis == DialogErgebnis::Abgebrochen)
            return false;
        ereignisse();

        bool papier = false;
        bool behaelter = false;
        if (ergebnis == DialogErgebnis::Ok) {
            if (dlg.Orientation == 1 || dlg.Orientation == 2)
                z.DrFormat = static_cast<qint16>(dlg.Orientation);
            druckername = dlg.PrinterName;
            gewaehlt = true;
            ziel.waehleDrucker(druckername);
            papier = dlg.PaperSize > 0 && ziel.setPaperSize(dlg.PaperSize);
            behaelter = dlg.PaperBin > 0 && ziel.setPaperBin(dlg.PaperBin);
        }
        const QString neu = ziel.DeviceName();
        // The paper and bin chosen in the dialog; where it chose none, a new
        // printer brings its own, and the same printer keeps what was set up.
        // (Read back from the same printer, the paper would only be the card
        // size set up before the dialog.)
        if (papier || neu != alt)
            alsCode(ziel.PaperSize(), z.DrGroesse);
        if (behaelter || neu != alt)
            alsCode(ziel.PaperBin(), z.DrBehaelter);
        ereignisse();
        if (neu == alt)
            break;
        if (u.meldungen.zeigen(QStringLiteral("Drucker "),
                               QStringLiteral("Der Druckertyp wurde gewechselt:     ") + z.CrLf + z.CrLf + neu,
                               Symbol::Frage, Knoepfe::OkAbbrechen)
            == Antwort::Ok)
            break;
    }

    einstellungenAnwenden(z, ziel);
    ereignisse();
    if (gewaehlt)
        EinstellungSpeichern(DruckernameSchluessel, druckername);
    return true;
}

DruckrandPruefung DruckrandUebernehmen(Zustand &z, Meldungen &meldungen, const QString &oben, const QString &links)
{
    z.RandOben = randAusText(oben);
    z.RandLinks = randAusText(links);

    DruckrandPruefung p;
    p.oben = oben;
    p.links = links;
    if (RandGueltig(z.RandOben) && RandGueltig(z.RandLinks)) {
        EinstellungSpeichern(QStringLiteral("PrinterRandOben"), z.RandOben);
        EinstellungSpeichern(QStringLiteral("PrinterRandlinks"), z.RandLinks);
        ereignisse();
        p.angenommen = true;
        return p;
    }
    meldungen.zeigen(QStringLiteral(" Druckrand-Korrektur "), RandkorrekturText(), Symbol::Ausruf, Knoepfe::Ok);
    if (!RandGueltig(z.RandLinks))
        p.links = QStringLiteral("-0");
    if (!RandGueltig(z.RandOben))
        p.oben = QStringLiteral("-0");
    return p;
}

QString RandAlsText(float rand)
{
    return SingleAlsText(rand);
}
