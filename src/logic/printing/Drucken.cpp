#include "printing/Drucken.h"

#include "adif/AdifFormat.h"
#include "adif/AdifLesen.h"
#include "adif/AdifMischen.h"
#include "adif/AdifSchreiben.h"
#include "adif/Dateiablage.h"
#include "core/Hilfen.h"
#include "core/Umgebung.h"
#include "core/Wartezeiger.h"
#include "layout/Kartenvorschau.h"
#include "printing/Kalibrierkarte.h"
#include "printing/KartenDruck.h"
#include "printing/Randkorrektur.h"
#include "printing/Zeichenziel.h"

#include <QDir>

namespace {

constexpr int millimeter = 6;

QString nurZiffern(const QString &text)
{
    QString ziffern;
    for (const QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            ziffern.append(c);
    }
    return ziffern;
}

// Hours and minutes as "hhmm" from "h:mm", "hhmm" or "hhmmss".
QString stundeMinute(const QString &text)
{
    QString z = nurZiffern(text);
    if (z.size() > 4)
        z = z.left(z.size() - 2);
    return z.rightJustified(4, QLatin1Char('0')).right(4);
}

bool gleichOderUnbekannt(const QString &a, const QString &b)
{
    return a.isEmpty() || b.isEmpty() || a == b;
}

// The record still describes the QSO the log browser handed over: whatever the
// user did not correct there is what the record says. This catches a record
// list that moved on (another record browsed, the file reloaded) since.
bool satzPasst(const Zustand &z, const QString &zeile)
{
    const QString satz = GrossBuchstaben(zeile);
    const QString qso = GrossBuchstaben(AdifSatzBauen(z));
    auto feld = [](const char *tag, const QString &r) { return AdifFeldWert(QLatin1String(tag), r).trimmed(); };

    if (!z.AktQsoKorrigiert.testFlag(Korrektur::Call)
        && !gleichOderUnbekannt(feld("<CALL:", satz), feld("<CALL:", qso)))
        return false;
    if (!z.AktQsoKorrigiert.testFlag(Korrektur::Datum)) {
        QString datum = feld("<QSO_DATE:", satz);
        // Short dates are read as the log browser reads them.
        if (!datum.isEmpty() && datum.size() < 8)
            datum = DatumYYYYMMDD(datum);
        if (!gleichOderUnbekannt(datum, feld("<QSO_DATE:", qso)))
            return false;
    }
    if (!z.AktQsoKorrigiert.testFlag(Korrektur::Mode)
        && !gleichOderUnbekannt(feld("<MODE:", satz), feld("<MODE:", qso)))
        return false;
    if (!z.AktQsoKorrigiert.testFlag(Korrektur::UTC)) {
        QString zeit = feld("<TIME_OFF:", satz);
        if (zeit.isEmpty())
            zeit = feld("<TIME_ON:", satz);
        const QString gebaut = feld("<TIME_ON:", qso);
        if (!zeit.isEmpty() && !gebaut.isEmpty() && stundeMinute(zeit) != stundeMinute(gebaut))
            return false;
    }
    return true;
}

QString nichtVermerkbarText(const Zustand &z)
{
    const QString &crlf = z.CrLf;
    const QString datei = QDir::toNativeSeparators(z.AktQsoDatei);
    const QString warum = z.AktQsoDatei != z.AdifRecordsDatei
                              ? QStringLiteral("Das QSO mit %1 stammt aus der ADIF-Datei") + crlf + datei + crlf
                                    + QStringLiteral("die nicht mehr geladen ist.")
                              : QStringLiteral("Das QSO mit %1 steht nicht mehr an seiner Stelle in der ADIF-Datei")
                                    + crlf + datei + crlf;
    return warum.arg(z.AktQSO.Call.trimmed()) + crlf + crlf
           + QStringLiteral("Die Karte kann gedruckt werden, wird im Logbuch aber nicht als gesendet vermerkt.") + crlf
           + QStringLiteral("Zum Vermerken das QSO im ADIF-Logbuch noch einmal aufrufen und übergeben.") + crlf + crlf
           + QStringLiteral("Karte trotzdem drucken?");
}

void zielFehlerMelden(Umgebung &u, Wartezeiger &sanduhr, const ZielFehler &fehler)
{
    sanduhr.aus();
    u.meldungen.zeigen(QStringLiteral("Fehler"), QString::fromStdString(fehler.what()), Symbol::Ausruf, Knoepfe::Ok);
}

// The target names what it writes after the calibration card only while that
// card is drawn.
class Kalibrierdokument
{
public:
    explicit Kalibrierdokument(Zeichenziel &ziel)
        : m_ziel(ziel)
    {
        m_ziel.setDokumentart(Zeichenziel::Dokumentart::Kalibrierkarte);
    }
    ~Kalibrierdokument() { m_ziel.setDokumentart(Zeichenziel::Dokumentart::QslKarte); }
    Kalibrierdokument(const Kalibrierdokument &) = delete;
    Kalibrierdokument &operator=(const Kalibrierdokument &) = delete;

private:
    Zeichenziel &m_ziel;
};

} // namespace

void DruckerVorbereiten(const Zustand &z, Zeichenziel &ziel)
{
    ziel.setScaleMode(millimeter);
    if (z.DrFormat > 0)
        ziel.setOrientation(z.DrFormat);
    if (z.QSLHeight > 0)
        ziel.setHeight(z.QSLHeight * float(Zeichenziel::TwipsProMm));
    if (z.QSLWidth > 0)
        ziel.setWidth(z.QSLWidth * float(Zeichenziel::TwipsProMm));
    if (z.DrGroesse > 0)
        ziel.setPaperSize(z.DrGroesse);
    if (z.DrBehaelter > 0)
        ziel.setPaperBin(z.DrBehaelter);
}

bool DruckerFuerKarten(Umgebung &u, Zeichenziel &ziel, Wartezeiger &sanduhr)
{
    DruckerVorbereiten(u.z, ziel);
    // Every position on the card is in millimetres; in any other unit the card
    // would come out shrunk into a corner.
    if (ziel.ScaleMode() == millimeter)
        return true;
    sanduhr.aus();
    u.meldungen.zeigen(
        QStringLiteral("Fehler"),
        QStringLiteral("Der Drucker „%1“ nimmt die Maßeinheit Millimeter nicht an;").arg(ziel.DeviceName()) + u.z.CrLf
            + QStringLiteral("die Karte wird nicht gedruckt."),
        Symbol::Ausruf, Knoepfe::Ok);
    return false;
}

Vermerk VermerkPruefen(const Zustand &z)
{
    if (z.AktQsoDatei.isEmpty())
        return Vermerk::KeinLog;
    if (z.AdifRecordsDatei.isEmpty() || z.AdifRecordsDatei != z.AktQsoDatei || z.AdifRecordIndex < 0
        || z.AdifRecordIndex >= z.AdifRecords.size() || !satzPasst(z, z.AdifRecords.at(z.AdifRecordIndex)))
        return Vermerk::NichtMoeglich;
    return Vermerk::Satz;
}

bool SatzZurueckschreiben(Umgebung &u)
{
    Zustand &z = u.z;
    const Vermerk vermerk = VermerkPruefen(z);
    if (vermerk == Vermerk::KeinLog)
        return false;
    if (vermerk == Vermerk::Satz) {
        bool gelungen = true;
        const QString gemischt =
            AdifSatzMischen(z.AdifRecords.at(z.AdifRecordIndex), z.AktQsoAdif, z.AktQsoKorrigiert, &gelungen);
        if (!gelungen) {
            u.meldungen.zeigen(QStringLiteral("QSL nicht markiert"),
                               QStringLiteral("Im Datensatz des QSO mit %1 passt eine Feldlänge nicht zum Wert;")
                                       .arg(z.AktQSO.Call.trimmed())
                                   + z.CrLf
                                   + QStringLiteral("mit der Markierung würde er anders gelesen, darum ist die Karte "
                                                    "im Logbuch nicht als gesendet vermerkt."),
                               Symbol::Ausruf, Knoepfe::Ok);
            return false;
        }
        if (AdifRecordErsetzen(z, z.AdifRecordIndex, gemischt)) {
            // The mark goes into the file at once, so a crash, a kill or a
            // power cut after the card loses nothing. What cannot be written
            // now (the user is told) waits for the next print or the end.
            EchteDateiablage ablage;
            AdifDateiSchreiben(u, ablage, z.AdifRecordsDatei);
            z.AktQsoSatz = AdifRecordGelesen(z, z.AdifRecordIndex);
            return true;
        }
    }
    u.meldungen.zeigen(QStringLiteral("Fehler"),
                       QStringLiteral("Der Datensatz des QSO mit %1 ist nicht mehr in der geladenen ADIF-Datei;")
                               .arg(z.AktQSO.Call.trimmed())
                           + z.CrLf + QStringLiteral("die Karte ist im Logbuch nicht als gesendet vermerkt."),
                       Symbol::Ausruf, Knoepfe::OkAbbrechen);
    return false;
}

DruckErgebnis Drucken(Umgebung &u, const Kartenvorschau &vorschau, const DruckRueckrufe &rueckrufe)
{
    Zustand &z = u.z;
    if (z.AktQSO.Call.isEmpty()) {
        u.meldungen.zeigen(QStringLiteral("Keine QSO-Daten vorhanden"),
                           QStringLiteral("Zuerst  ADIF - Daten  laden ") + z.CrLf
                               + QStringLiteral("oder  QSO - Daten  eingeben! "),
                           Symbol::Kritisch, Knoepfe::Ok);
        return DruckErgebnis::KeineDaten;
    }
    // Asked before any paper moves, so a pre-printed card is not spent on a QSO
    // the log will not show as sent.
    const Vermerk vermerk = VermerkPruefen(z);
    if (vermerk == Vermerk::NichtMoeglich
        && u.meldungen.zeigen(QStringLiteral(" QSL-Vermerk nicht möglich "), nichtVermerkbarText(z), Symbol::Ausruf,
                              Knoepfe::OkAbbrechen)
               != Antwort::Ok)
        return DruckErgebnis::Abgebrochen;

    if (!z.objZiel)
        return DruckErgebnis::Fehler;
    Zeichenziel &ziel = *z.objZiel;
    Wartezeiger sanduhr;
    if (!DruckerFuerKarten(u, ziel, sanduhr))
        return DruckErgebnis::Fehler;
    ziel.setDokumentName(z.AktQSO.Call.trimmed());

    try {
        if (!KarteDrucken(vorschau, z.RandOben, z.RandLinks, ziel, u.meldungen, rueckrufe.bild1Sichtbar))
            return DruckErgebnis::Verweigert;
    } catch (const ZielFehler &fehler) {
        zielFehlerMelden(u, sanduhr, fehler);
        return DruckErgebnis::Fehler;
    }

    z.AktQSO.QslSent = true;
    z.AktQsoAdif = AdifSatzBauen(z);
    if (vermerk == Vermerk::Satz)
        SatzZurueckschreiben(u);
    const QString datei = ziel.LetzteDatei();
    if (!datei.isEmpty() && rueckrufe.dateiGeschrieben)
        rueckrufe.dateiGeschrieben(datei);
    return DruckErgebnis::Gedruckt;
}

DruckErgebnis KalibrierkarteDrucken(Umgebung &u, const std::function<void(const QString &)> &dateiGeschrieben)
{
    Zustand &z = u.z;
    if (RandVerweigert(z.RandOben, z.RandLinks, u.meldungen))
        return DruckErgebnis::Verweigert;
    if (!z.objZiel)
        return DruckErgebnis::Fehler;
    Zeichenziel &ziel = *z.objZiel;
    Wartezeiger sanduhr;
    if (!DruckerFuerKarten(u, ziel, sanduhr))
        return DruckErgebnis::Fehler;
    const Kalibrierdokument dokument(ziel);
    try {
        KalibrierkarteZeichnen(ziel, z.QSLWidth, z.QSLHeight, z.RandOben, z.RandLinks);
        ziel.EndDoc();
    } catch (const ZielFehler &fehler) {
        zielFehlerMelden(u, sanduhr, fehler);
        return DruckErgebnis::Fehler;
    }
    const QString datei = ziel.LetzteDatei();
    if (!datei.isEmpty() && dateiGeschrieben)
        dateiGeschrieben(datei);
    return DruckErgebnis::Gedruckt;
}
