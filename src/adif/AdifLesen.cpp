#include "adif/AdifLesen.h"

#include "adif/AdifFormat.h"
#include "adif/Dateiablage.h"
#include "core/Einstellungen.h"
#include "core/Hilfen.h"
#include "core/Umgebung.h"
#include "core/Wartezeiger.h"

#include <QFileInfo>
#include <QHash>
#include <cmath>

namespace {

QString kanonisch(const QString &pfad)
{
    const QFileInfo info(pfad);
    const QString echt = info.canonicalFilePath();
    return echt.isEmpty() ? info.absoluteFilePath() : echt;
}

// Puts the changes printing made to records of the loaded file back into the
// fresh record list, each onto the same occurrence of its original line.
void AenderungenEinsetzen(Zustand &z)
{
    QHash<QString, QList<qsizetype>> gesucht;
    for (AdifAenderung &a : z.AdifAenderungen) {
        a.Index = -1;
        if (!z.AdifRecordsDatei.isEmpty() && a.Datei == z.AdifRecordsDatei)
            gesucht.insert(a.Gelesen, {});
    }
    if (gesucht.isEmpty())
        return;
    for (qsizetype i = 0; i < z.AdifRecords.size(); ++i) {
        const auto it = gesucht.find(z.AdifRecords.at(i));
        if (it != gesucht.end())
            it->append(i);
    }
    for (AdifAenderung &a : z.AdifAenderungen) {
        if (a.Datei != z.AdifRecordsDatei)
            continue;
        const QList<qsizetype> &stellen = gesucht.value(a.Gelesen);
        if (a.Vorkommen >= 0 && a.Vorkommen < stellen.size()) {
            a.Index = static_cast<qint32>(stellen.at(a.Vorkommen));
            z.AdifRecords[a.Index] = a.Zeile;
        }
    }
}

QslStatus qslAusGross(const QString &r)
{
    struct Gruppe
    {
        const char *gesendet;
        const char *erhalten;
        const char *erhaltenAm;
        const char *gesendetAm;
        const char *medium;
    };
    static const Gruppe gruppen[] = {
        {"<QSL_SEND:", "<QSL_RCVD:", "<QSLRDATE:", "<QSLSDATE:", "paper QSL card"},
        {"<EQSL_QSL_SEND:", "<EQSL_QSL_RCVD:", "<EQSL_QSLRDATE:", "<EQSL_QSLSDATE:", "eQSL"},
        {"<LOTW_QSL_SEND:", "<LOTW_QSL_RCVD:", "<LOTW_QSLRDATE:", "<LOTW_QSLSDATE:", "LOTW"},
    };
    QslStatus st;
    for (const Gruppe &g : gruppen) {
        const QString s = AdifFeldWert(QLatin1String(g.gesendet), r);
        const QString e = AdifFeldWert(QLatin1String(g.erhalten), r);
        const QString ea = AdifFeldWert(QLatin1String(g.erhaltenAm), r);
        const QString sa = AdifFeldWert(QLatin1String(g.gesendetAm), r);
        if (s.isEmpty() && e.isEmpty() && ea.isEmpty() && sa.isEmpty())
            continue;
        st.Medium = QLatin1String(g.medium);
        if (s == QLatin1String("Y"))
            st.Sent = true;
        if (e == QLatin1String("Y"))
            st.Rcvd = true;
        if (!sa.isEmpty())
            st.SDate = sa;
        if (!ea.isEmpty())
            st.RDate = ea;
    }
    return st;
}

QString mitMm(const QString &loc)
{
    if (!loc.isEmpty() && loc.size() < 5)
        return loc + QStringLiteral("mm");
    return loc;
}

QString schaetzen(const QString &mode, double f, int d)
{
    if (mode == QLatin1String("MSK144") || mode == QLatin1String("JTMS") || mode == QLatin1String("JT6M")
        || mode == QLatin1String("FSK441"))
        return QStringLiteral("MS");
    if (f <= 30)
        return QStringLiteral("SW");
    if (mode == QLatin1String("JT65")) {
        if (d > 2500)
            return QStringLiteral("EME");
        return d < 801 ? QStringLiteral("TROPO") : QStringLiteral("ES");
    }
    if (mode == QLatin1String("SSTV"))
        return QStringLiteral("TROPO");
    return d < 1301 ? QStringLiteral("TROPO") : QStringLiteral("ES");
}

AdifSatz parsen(const QString &zeile, const QString *eigenerLoc)
{
    const QString r = GrossBuchstaben(zeile);
    AdifSatz s;

    s.MyLoc = AdifFeldWert(QStringLiteral("<MY_GRIDSQUARE:"), r);
    if (s.MyLoc.isEmpty())
        s.MyLoc = eigenerLoc ? *eigenerLoc : Einstellung(QStringLiteral("MyLoc"));
    s.MyLoc = mitMm(s.MyLoc);
    s.Loc = mitMm(AdifFeldWert(QStringLiteral("<GRIDSQUARE:"), r));
    s.Call = AdifFeldWert(QStringLiteral("<CALL:"), r);

    QString datum = AdifFeldWert(QStringLiteral("<QSO_DATE:"), r);
    if (!datum.isEmpty()) {
        if (datum.size() < 8)
            datum = DatumYYYYMMDD(datum);
        if (!datum.isEmpty())
            s.DatumText = datum.left(4) + QLatin1Char('/') + datum.mid(4, 2) + QLatin1Char('/') + datum.right(2);
    }

    QString zeit = AdifFeldWert(QStringLiteral("<TIME_OFF:"), r);
    if (zeit.isEmpty())
        zeit = AdifFeldWert(QStringLiteral("<TIME_ON:"), r);
    if (!zeit.isEmpty()) {
        if (zeit.size() > 4)
            zeit.chop(2);
        if (zeit.size() >= 2)
            s.ZeitText = zeit.left(zeit.size() - 2) + QLatin1Char(':') + zeit.right(2);
    }

    s.RST = AdifFeldWert(QStringLiteral("<RST_SENT:"), r);
    s.Mode = AdifFeldWert(QStringLiteral("<MODE:"), r);
    s.MHzText = AdifFeldWert(QStringLiteral("<FREQ:"), r);

    // The last keyword of the list that the comment holds wins.
    struct Stichwort
    {
        const char *a;
        const char *b;
        const char *ergebnis;
    };
    static const Stichwort stichworte[] = {
        {"TR", "TROPO", "TROPO"}, {"AUR", "AURORA", "AURORA"}, {"RPT", nullptr, "RPT"}, {"ES", nullptr, "ES"},
        {"SAT", nullptr, "SAT"},  {"MS", nullptr, "MS"},        {"FAI", nullptr, "FAI"}, {"F2", nullptr, "F2"},
        {"RS", nullptr, "RS"},    {"EME", nullptr, "EME"},
    };
    const QString kommentar = AdifFeldWert(QStringLiteral("<COMMENT:"), r);
    QString p;
    if (!kommentar.isEmpty()) {
        for (const Stichwort &w : stichworte) {
            if (kommentar.contains(QLatin1String(w.a)) || (w.b && kommentar.contains(QLatin1String(w.b))))
                p = QLatin1String(w.ergebnis);
        }
        s.Kommentar = QStringLiteral("tnx fb ") + p + QStringLiteral(" QSO");
    } else {
        s.Kommentar = QStringLiteral("tnx fb QSO");
    }

    s.QslVia = AdifFeldWert(QStringLiteral("<QSL_VIA:"), r);
    if (s.QslVia.isEmpty())
        s.QslVia = AdifFeldWert(QStringLiteral("<QSL_SEND_VIA:"), r);
    if (s.QslVia.isEmpty())
        s.QslVia = GrundRufzeichen(s.Call);

    const QString ausbreitung = AdifFeldWert(QStringLiteral("<PROP_MODE:"), r);
    if (!ausbreitung.isEmpty())
        p = ausbreitung;
    if (p.isEmpty()) {
        int d = 0;
        if (!s.MyLoc.isEmpty() && !s.Loc.isEmpty()) {
            const double km = ZahlAusText(EntfernungKm(s.MyLoc, s.Loc));
            if (std::isfinite(km))
                d = static_cast<int>(std::trunc(qBound(-1.0e6, km, 1.0e6)));
        }
        p = schaetzen(s.Mode, ZahlAusText(s.MHzText), d);
    }
    s.Ausbreitung = p;

    const QslStatus st = qslAusGross(r);
    s.QslSent = st.Sent;
    s.QslRcvd = st.Rcvd;
    s.QslSDate = st.SDate;
    s.QslRDate = st.RDate;
    s.QslMedium = st.Medium;
    return s;
}

} // namespace

bool DateiLaden(Umgebung &u)
{
    Zustand &z = u.z;
    Wartezeiger sanduhr;

    QByteArray daten;
    QString fehler;
    if (!DateiBytesLesen(z.AdifDatei, &daten, &fehler)) {
        sanduhr.aus();
        if (u.meldungen.zeigen(QStringLiteral("Fehler"), fehler, Symbol::Ausruf, Knoepfe::OkAbbrechen) != Antwort::Ok)
            return false;
    }

    QStringList records;
    const QList<AdifZeile> zeilen = AdifZeilenTeilen(daten);
    const char *basis = daten.constData();
    for (const AdifZeile &l : zeilen) {
        if (IstAdifRecord(basis + l.anfang, l.laenge))
            records.append(QString::fromLatin1(basis + l.anfang, l.laenge));
    }
    daten.clear();

    if (records.isEmpty()) {
        z.AdifRecords.clear();
        z.AdifRecordsDatei.clear();
        AenderungenEinsetzen(z);
        sanduhr.aus();
        u.meldungen.zeigen(QStringLiteral("Falsche Datei?"), QStringLiteral("Die ADIF-Datei ist fehlerhaft!"),
                           Symbol::Kritisch, Knoepfe::Ok);
        z.AdifDatei.clear();
        z.AdifDatLast = 0;
        return false;
    }

    z.AdifRecords = std::move(records);
    z.AdifRecordsDatei = kanonisch(z.AdifDatei);
    AenderungenEinsetzen(z);
    z.AdifRecordIndex = 0;
    return true;
}

AdifSatz SatzParsen(const QString &zeile)
{
    return parsen(zeile, nullptr);
}

AdifSatz SatzParsen(const QString &zeile, const QString &eigenerLoc)
{
    return parsen(zeile, &eigenerLoc);
}

QslStatus QslStatusLesen(const QString &zeile)
{
    return qslAusGross(GrossBuchstaben(zeile));
}

bool SatzEnthaelt(const QString &zeile, const QString &suchtext)
{
    const qsizetype m = suchtext.size();
    const qsizetype n = zeile.size();
    if (m == 0)
        return true;
    const QChar *z = zeile.constData();
    const QChar *t = suchtext.constData();
    const QChar erstes = t[0];
    for (qsizetype i = 0; i + m <= n; ++i) {
        if (GrossBuchstabe(z[i]) != erstes)
            continue;
        qsizetype k = 1;
        while (k < m && GrossBuchstabe(z[i + k]) == t[k])
            ++k;
        if (k == m)
            return true;
    }
    return false;
}

qsizetype AdifSuchen(const QStringList &records, qsizetype ab, const QString &suchtext)
{
    for (qsizetype i = qMax<qsizetype>(ab, 0); i < records.size(); ++i) {
        if (SatzEnthaelt(records.at(i), suchtext))
            return i;
    }
    return -1;
}

QString AdifRecordGelesen(const Zustand &z, qsizetype i)
{
    for (const AdifAenderung &a : z.AdifAenderungen) {
        if (a.Index == i && a.Datei == z.AdifRecordsDatei)
            return a.Gelesen;
    }
    return (i >= 0 && i < z.AdifRecords.size()) ? z.AdifRecords.at(i) : QString();
}

bool AdifRecordGeaendert(const Zustand &z, qsizetype i)
{
    for (const AdifAenderung &a : z.AdifAenderungen) {
        if (a.Index == i && a.Datei == z.AdifRecordsDatei)
            return true;
    }
    return false;
}
