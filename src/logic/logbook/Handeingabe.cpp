#include "logbook/Handeingabe.h"

#include "adif/AdifFormat.h"
#include "adif/AdifSchreiben.h"
#include "core/Hilfen.h"
#include "core/Umgebung.h"
#include "layout/Kartenvorschau.h"
#include "logbook/Eingabewerte.h"
#include "station/Stationsdaten.h"

Handeingabe::Handeingabe(Umgebung &umgebung)
    : u(umgebung)
{
}

void Handeingabe::laden()
{
    felder = Handfelder();
    felder.Send = DatumAlsYYYYMMDD(heute());
    tnxWaehlen();
}

void Handeingabe::aktivieren()
{
    felder.Comment = QStringLiteral("tnx fb QSO");
    tnxWaehlen();
}

void Handeingabe::pseWaehlen()
{
    felder.pseWaehlen();
}

void Handeingabe::tnxWaehlen()
{
    felder.tnxWaehlen(heute());
}

void Handeingabe::kommentarKlick()
{
    felder.Comment = QStringLiteral("tnx fb SWL-Report");
}

void Handeingabe::callVerlassen()
{
    const QString call = GrossBuchstaben(felder.Call);
    if (call.contains(QLatin1Char('/')))
        felder.QSLvia = GrundRufzeichen(call);
}

void Handeingabe::frequenzVerlassen()
{
    const Stationsregel r = StationsregelAnwenden(felder.MHz);
    if (r.kurzwelle)
        felder.QSOvia = QStringLiteral("SW");
    felder.RX = r.werte.RX;
    felder.TX = r.werte.TRX;
    felder.Ant = r.werte.Antenne;
}

Annahme Handeingabe::annehmen(Kartenvorschau &karte)
{
    Zustand &z = u.z;
    // Without a callsign the accept is a cancel: the QSO on the card stays.
    const QString call = GrossBuchstaben(felder.Call);
    if (call.isEmpty())
        return Annahme::Verbergen;

    const QVariant datum = DatumAusEingabe(felder.Datum);
    if (DatumLeer(datum)) {
        u.meldungen.zeigen(QStringLiteral(" Eingabefehler "), QStringLiteral("Falsches Datum!  "), Symbol::Kritisch,
                           Knoepfe::Ok);
        return Annahme::Angehalten;
    }

    // A new QSO from the fields alone: the QSL status and medium of the QSO
    // shown before must not end up in a record stored for this one. It
    // replaces the current QSO only once its checks pass.
    QsoDaten q;
    q.Call = call;
    q.Datum = datum;
    q.UTC = felder.UTC;
    GemeinsameFelderUebernehmen(q, felder);
    q.QSLvia = felder.QSLvia;

    if (q.UTC.isEmpty()) {
        u.meldungen.zeigen(QStringLiteral("Fehler"), QStringLiteral("Eingaben nicht komplett!"), Symbol::Kritisch,
                           Knoepfe::Ok);
        return Annahme::Angehalten;
    }

    QslWunschUebernehmen(q, felder.Pse, felder.Send, felder.Rcvd, heute(), karte);
    if (!felder.Pse && felder.Rcvd.isEmpty())
        felder.Rcvd = DatumAlsYYYYMMDD(heute());
    if (!felder.Rcvd.isEmpty()) {
        q.QslRcvd = true;
        q.QslRDate = felder.Rcvd;
    }
    if (!felder.Send.isEmpty()) {
        q.QslSent = true;
        q.QslSDate = felder.Send;
    }
    z.AktQSO = q;
    // A typed QSO never stands for a record of the loaded log.
    z.AktQsoDatei.clear();
    z.AktQsoSatz.clear();
    z.AktQsoKorrigiert = {};

    if (GrossBuchstaben(z.AktQSO.Comment).contains(QLatin1String("SWL")) || DateiVorhanden(z.AdifDatei))
        return Annahme::NachVorne;

    const Antwort a =
        u.meldungen.zeigen(QStringLiteral("Noch keine ADIF-Datei geladen"),
                           QStringLiteral("Ja = Datei laden ") + z.CrLf + QStringLiteral("Nein = neue Datei anlegen")
                               + z.CrLf + QStringLiteral("oder Abbrechen?"),
                           Symbol::Kritisch, Knoepfe::JaNeinAbbrechen);
    if (a == Antwort::Ja) {
        const QString pfad = AdifDateiDialog(u, false);
        if (pfad.isEmpty() || !PfadeOhneStrichpunkt(u.meldungen, {pfad}))
            return Annahme::Angehalten;
        z.AdifDatei = pfad;
        AdifSatzAnhaengen(u, AdifSatzBauen(z));
        return Annahme::NachVorne;
    }
    if (a != Antwort::Nein)
        return Annahme::Angehalten;

    QString pfad;
    for (;;) {
        pfad = AdifDateiDialog(u, true);
        if (pfad.isEmpty())
            return Annahme::Angehalten;
        if (!PfadeOhneStrichpunkt(u.meldungen, {pfad}))
            continue;
        if (!DateiVorhanden(pfad))
            break;
        u.meldungen.zeigen(QStringLiteral("Bitte einen anderen Datei-Namen wählen"),
                           QStringLiteral("Eine Datei mit der Bezeichnung ist schon vorhanden!"), Symbol::Kritisch,
                           Knoepfe::Ok);
    }
    const QString vorher = z.AdifDatei;
    z.AdifDatei = pfad;
    // A file that could not be created gets no record either: appending would
    // make a log without its header.
    if (AdifDateiAnlegen(u))
        AdifSatzAnhaengen(u, AdifSatzBauen(z));
    else
        z.AdifDatei = vorher;
    return Annahme::NachVorne;
}
