#include "logbook/Logbrowser.h"

#include "adif/AdifFormat.h"
#include "core/Hilfen.h"
#include "core/Umgebung.h"
#include "core/Wartezeiger.h"
#include "layout/Kartenvorschau.h"
#include "logbook/Eingabewerte.h"
#include "station/Stationsdaten.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace {

const QString kPapier = QStringLiteral("paper QSL card");

// How long the search may run before the windows get to repaint and take
// input again.
constexpr qint64 kZwischendurchMs = 50;
// Records searched in one go between two looks at the clock.
constexpr qsizetype kSuchSchritt = 4096;

bool gleichOhneFall(const QString &a, const QString &b)
{
    return GrossBuchstaben(a) == GrossBuchstaben(b);
}

void stationsregel(Browserfelder &felder)
{
    const Stationsregel r = StationsregelAnwenden(felder.MHz);
    if (r.kurzwelle)
        felder.QSOvia = QStringLiteral("SW");
    felder.RX = r.werte.RX;
    felder.TX = r.werte.TRX;
    felder.Ant = r.werte.Antenne;
}

} // namespace

void SatzFelderFuellen(Browserfelder &felder, const AdifSatz &r, const QDate &heute)
{
    felder.Call = r.Call;
    felder.Datum = r.DatumText;
    felder.UTC = r.ZeitText;
    felder.RST = r.RST;
    felder.Mode = r.Mode;
    felder.MHz = r.MHzText;
    felder.QSOvia = r.Ausbreitung;
    felder.Comment = r.Kommentar;
    felder.QSLvia = r.QslVia;
    felder.tnxWaehlen(heute);
    stationsregel(felder);
    if (!r.QslMedium.isEmpty()) {
        felder.Medium = r.QslMedium;
        felder.Send = r.QslSDate;
        felder.Rcvd = r.QslRDate;
        felder.Gesendet = r.QslSent;
        felder.Erhalten = r.QslRcvd;
    } else {
        felder.Medium = kPapier;
        felder.Gesendet = false;
        felder.Erhalten = false;
        felder.Send.clear();
        felder.Rcvd.clear();
    }
}

std::optional<QsoDaten> FelderUebergeben(Browserfelder &felder, const AdifSatz &gezeigt, const QDate &heute,
                                         Kartenvorschau *karte)
{
    QsoDaten q;
    q.Call = GrossBuchstaben(felder.Call);
    q.Datum = DatumAusEingabe(felder.Datum);
    q.UTC = felder.UTC;
    if (q.Call.isEmpty() || q.UTC.isEmpty() || DatumLeer(q.Datum))
        return std::nullopt;
    GemeinsameFelderUebernehmen(q, felder);
    q.QSLvia = GrossBuchstaben(felder.QSLvia);

    // The QSL status goes into the record when the card is printed, so it is
    // this record's own: a request card keeps what the record says about a
    // received card, and no date of an earlier QSO stays behind.
    q.QslRcvd = gezeigt.QslRcvd;
    q.QslRDate = gezeigt.QslRDate;
    Kartenvorschau ohneKarte;
    QslWunschUebernehmen(q, felder.Pse, felder.Send, felder.Rcvd, heute, karte ? *karte : ohneKarte);

    if (felder.Medium.isEmpty()) {
        felder.Medium = kPapier;
        q.QslMedium = kPapier;
    } else {
        q.QslMedium = GrossBuchstaben(felder.Medium);
    }
    return q;
}

bool SuchtasteErlaubt(Suchart art, QChar zeichen)
{
    const ushort c = zeichen.unicode();
    if (c == 8)
        return true;
    switch (art) {
    case Suchart::Datum: return c >= 46 && c <= 57;
    case Suchart::Call: return c >= 47 && c <= 122;
    case Suchart::Text: return true;
    }
    return true;
}

Korrekturen KorrekturenErmitteln(const Browserfelder &gezeigt, const Browserfelder &uebergeben)
{
    Korrekturen k;
    if (!gleichOhneFall(gezeigt.Call, uebergeben.Call))
        k |= Korrektur::Call;
    if (DatumYYYYMMDD(DatumAusEingabe(gezeigt.Datum)) != DatumYYYYMMDD(DatumAusEingabe(uebergeben.Datum)))
        k |= Korrektur::Datum;
    if (gezeigt.UTC != uebergeben.UTC)
        k |= Korrektur::UTC;
    if (gezeigt.RST != uebergeben.RST)
        k |= Korrektur::RST;
    // The card shows mode and propagation upper-cased.
    if (!gleichOhneFall(gezeigt.Mode, uebergeben.Mode))
        k |= Korrektur::Mode;
    if (MHzAusEingabe(gezeigt.MHz) != MHzAusEingabe(uebergeben.MHz))
        k |= Korrektur::MHz;
    if (!gleichOhneFall(gezeigt.QSOvia, uebergeben.QSOvia))
        k |= Korrektur::QSOvia;
    if (!gleichOhneFall(gezeigt.QSLvia, uebergeben.QSLvia))
        k |= Korrektur::QSLvia;
    return k;
}

Logbrowser::Logbrowser(Umgebung &umgebung)
    : u(umgebung)
{
}

void Logbrowser::felderLeeren()
{
    const QString suchtext = felder.Suchtext;
    felder = Browserfelder();
    felder.Suchtext = suchtext;
    felder.Medium = kPapier;
    tnxWaehlen();
    zaehler = QStringLiteral("DS-Nr.");
    m_gezeigt = felder;
    m_gezeigtSatz = AdifSatz();
    m_gezeigtDatei.clear();
    m_gezeigtNr = -1;
}

void Logbrowser::beschriftungen()
{
    const Zustand &z = u.z;
    rahmenTitel = QStringLiteral("Adif-Datei %1:").arg(z.AdifDatIndex + 1);
    // Cut in the middle only where that shortens it: a short path shows whole,
    // never with parts of it twice.
    const QString &d = z.AdifDatei;
    dateiText = d.size() <= 3 + 3 + 22 ? d : d.left(3) + QStringLiteral("...") + d.right(22);
}

bool Logbrowser::dateiLaden()
{
    Zustand &z = u.z;
    const qint32 uebergeben = z.AdifRecordIndex;
    const bool ok = DateiLaden(u);
    // Loading points AdifRecordIndex at the first record; it has to go on
    // naming the record the current QSO was handed over from. Should that
    // file have changed under the record, the QSO no longer marks anything.
    if (!z.AktQsoDatei.isEmpty()) {
        z.AdifRecordIndex = uebergeben;
        if (z.AdifRecordsDatei == z.AktQsoDatei
            && (z.AktQsoSatz.isEmpty() || AdifRecordGelesen(z, uebergeben) != z.AktQsoSatz)) {
            z.AktQsoDatei.clear();
            z.AktQsoSatz.clear();
            z.AktQsoKorrigiert = {};
        }
    }
    if (ok) {
        SatzMax = static_cast<qint32>(z.AdifRecords.size()) - 1;
        m_geladen = z.AdifDatei;
    } else if (z.AdifDatei.isEmpty()) {
        SatzMax = -1;
        m_geladen.clear();
    }
    return ok;
}

bool Logbrowser::dateiWechseln(qint32 index)
{
    Zustand &z = u.z;
    const QString vorher = z.AdifDatei;
    const qint32 vorherIndex = z.AdifDatIndex;
    z.AdifDatei = AdifDateiAusListe(z, u.meldungen, z.AdifDatGes, index);
    beschriftungen();
    SatzNr = 0;
    if (dateiLaden()) {
        satzZeigen(0);
        return true;
    }
    if (!z.AdifDatei.isEmpty()) {
        // The user cancelled the load: the records shown are still those of
        // the file before, and the window has to say so.
        z.AdifDatei = vorher;
        z.AdifDatIndex = vorherIndex;
        beschriftungen();
        SatzNr = m_gezeigtNr < 0 ? 0 : m_gezeigtNr;
        return false;
    }
    felderLeeren();
    return false;
}

bool Logbrowser::oeffnen()
{
    felderLeeren();
    felder.Suchtext.clear();
    if (!DateiVorhanden(u.z.AdifDatei)) {
        u.meldungen.zeigen(QStringLiteral("Error"), QStringLiteral("Zuerst eine ADIF-Datei laden!"), Symbol::Ausruf,
                           Knoepfe::Ok);
        return false;
    }
    SatzNr = 0;
    if (dateiLaden())
        satzZeigen(0);
    return true;
}

void Logbrowser::aktivieren()
{
    Zustand &z = u.z;
    // Another file opened in the main window since: its records are shown,
    // never another file's records under its name.
    if (!m_sucht && !z.AdifDatei.isEmpty() && z.AdifDatei != m_geladen && DateiVorhanden(z.AdifDatei)) {
        SatzNr = 0;
        if (dateiLaden())
            satzZeigen(0);
        else if (z.AdifDatei.isEmpty())
            felderLeeren();
    }
    tnxWaehlen();
    beschriftungen();
}

void Logbrowser::satzZeigen(qint32 i)
{
    const Zustand &z = u.z;
    if (i < 0 || i > SatzMax || i >= z.AdifRecords.size())
        return;
    SatzNr = i;
    const AdifSatz r = SatzParsen(z.AdifRecords.at(i));
    SatzFelderFuellen(felder, r, heute());
    zaehler = QString::number(SatzNr);
    m_gezeigt = felder;
    m_gezeigtSatz = r;
    m_gezeigtDatei = z.AdifRecordsDatei;
    m_gezeigtNr = i;
}

void Logbrowser::vor()
{
    const Zustand &z = u.z;
    ++SatzNr;
    if (SatzNr <= SatzMax) {
        satzZeigen(SatzNr);
    } else if (z.AdifDatIndex + 1 <= z.AdifDatLast) {
        dateiWechseln(z.AdifDatIndex + 1);
    } else {
        SatzNr = SatzMax;
    }
}

void Logbrowser::zurueck()
{
    const Zustand &z = u.z;
    --SatzNr;
    if (SatzNr >= SatzMin) {
        satzZeigen(SatzNr);
    } else if (z.AdifDatIndex - 1 >= 0 && z.AdifDatLast >= 0) {
        dateiWechseln(z.AdifDatIndex - 1);
    } else {
        SatzNr = SatzMin;
    }
}

void Logbrowser::anfang()
{
    SatzNr = SatzMin;
    satzZeigen(SatzNr);
}

void Logbrowser::ende()
{
    SatzNr = SatzMax;
    satzZeigen(SatzNr);
}

void Logbrowser::suchen()
{
    if (m_sucht)
        return;
    Zustand &z = u.z;
    bool ok = false;
    SuchStart = zaehler.toInt(&ok);
    if (!ok)
        SuchStart = 0;

    QString s = GrossBuchstaben(felder.Suchtext.trimmed());
    felder.Suchtext = s;
    if (s.isEmpty())
        return;
    if (suchart == Suchart::Datum) {
        const QString datum = DatumYYYYMMDD(s);
        if (!datum.isEmpty())
            s = datum;
    }

    m_sucht = true;
    m_abbruch = false;
    // Where the search comes back to when it finds nothing (more): the record
    // on show, later the last hit, with the file that holds it.
    QString rueckListe = z.AdifRecordsDatei;
    QString rueckDatei = z.AdifDatei;
    qint32 rueckIndex = z.AdifDatIndex;

    Wartezeiger sanduhr;
    QElapsedTimer uhr;
    uhr.start();
    bool getroffen = false;
    bool gefunden = false;

    SatzNr = 0;
    for (;;) {
        for (; SatzNr <= SatzMax && SatzNr < z.AdifRecords.size(); ++SatzNr) {
            if (uhr.elapsed() >= kZwischendurchMs) {
                QCoreApplication::processEvents();
                uhr.restart();
                if (m_abbruch)
                    break;
            }
            const qsizetype bis =
                qMin<qsizetype>(qMin<qsizetype>(SatzMax + 1, z.AdifRecords.size()), qsizetype(SatzNr) + kSuchSchritt);
            const qsizetype treffer = AdifSuchen(z, SatzNr, s, bis);
            if (treffer < 0) {
                SatzNr = static_cast<qint32>(bis - 1);
                continue;
            }
            SatzNr = static_cast<qint32>(treffer);
            SuchStart = SatzNr;
            rueckListe = z.AdifRecordsDatei;
            rueckDatei = z.AdifDatei;
            rueckIndex = z.AdifDatIndex;
            satzZeigen(SatzNr);
            if (neuZeichnen)
                neuZeichnen();
            sanduhr.aus();
            getroffen = true;
            if (u.meldungen.zeigen(QStringLiteral(" Suche erfolgreich"), QStringLiteral("Weiter suchen ?"),
                                   Symbol::Kritisch, Knoepfe::JaNein)
                != Antwort::Ja) {
                gefunden = true;
                break;
            }
            sanduhr.an();
            uhr.restart();
        }
        if (gefunden || m_abbruch || z.AdifDatIndex + 1 > z.AdifDatLast)
            break;
        const bool gewechselt = dateiWechseln(z.AdifDatIndex + 1);
        if (neuZeichnen)
            neuZeichnen();
        // A load the user cancelled ends the search.
        if (!gewechselt && !z.AdifDatei.isEmpty())
            break;
        SatzNr = 0;
    }

    if (!gefunden) {
        if (z.AdifRecordsDatei == rueckListe && z.AdifDatIndex == rueckIndex && !rueckListe.isEmpty()) {
            SatzNr = SuchStart;
        } else if (!rueckDatei.isEmpty()) {
            // The search went on into other files: back to the file of the
            // record it comes back to, so the fields and the records agree.
            AdifDateiAusListe(z, u.meldungen, z.AdifDatGes, rueckIndex);
            z.AdifDatei = rueckDatei;
            z.AdifDatIndex = rueckIndex;
            beschriftungen();
            if (dateiLaden())
                satzZeigen(qMin(SuchStart, SatzMax));
            else if (z.AdifDatei.isEmpty())
                felderLeeren();
            if (neuZeichnen)
                neuZeichnen();
        }
        if (!m_abbruch) {
            sanduhr.aus();
            u.meldungen.zeigen(QStringLiteral(" Suche erfolglos"),
                               QStringLiteral("Keine ") + (getroffen ? QStringLiteral("weiteren") : QString())
                                   + QStringLiteral(" Daten zu      ") + z.CrLf + s + z.CrLf
                                   + QStringLiteral("vorhanden !"),
                               Symbol::Information, Knoepfe::Ok);
        }
    }
    QCoreApplication::processEvents();
    sanduhr.aus();
    m_sucht = false;
    m_abbruch = false;
}

void Logbrowser::callVerlassen()
{
    const QString call = GrossBuchstaben(felder.Call);
    if (call.contains(QLatin1Char('/')))
        felder.QSLvia = GrundRufzeichen(call);
}

void Logbrowser::frequenzVerlassen()
{
    stationsregel(felder);
}

void Logbrowser::kommentarKlick()
{
    felder.Comment = QStringLiteral("tnx fb SWL-Report");
}

void Logbrowser::pseWaehlen()
{
    felder.pseWaehlen();
}

void Logbrowser::tnxWaehlen()
{
    felder.tnxWaehlen(heute());
}

bool Logbrowser::uebergeben(Kartenvorschau &karte)
{
    Zustand &z = u.z;
    // Built apart and taken over only when complete: a refused hand-over
    // leaves the QSO the main window shows and prints as it was.
    Wartezeiger sanduhr;
    const std::optional<QsoDaten> q = FelderUebergeben(felder, m_gezeigtSatz, heute(), &karte);
    if (!q) {
        sanduhr.aus();
        u.meldungen.zeigen(QStringLiteral("Fehler"), QStringLiteral("Eingaben nicht komplett!"), Symbol::Kritisch,
                           Knoepfe::Ok);
        return false;
    }

    // From here on AktQSO is no longer the QSO handed over before, so it must
    // not mark that QSO's record.
    z.AktQSO = *q;
    z.AktQsoDatei.clear();
    z.AktQsoSatz.clear();
    z.AktQsoKorrigiert = {};
    if (m_gezeigtNr >= 0 && !m_gezeigtDatei.isEmpty() && m_gezeigtDatei == z.AdifRecordsDatei
        && m_gezeigtNr < z.AdifRecords.size()) {
        z.AktQsoDatei = m_gezeigtDatei;
        z.AdifRecordIndex = m_gezeigtNr;
        z.AktQsoKorrigiert = KorrekturenErmitteln(m_gezeigt, felder);
        z.AktQsoSatz = AdifRecordGelesen(z, m_gezeigtNr);
    }
    return true;
}
