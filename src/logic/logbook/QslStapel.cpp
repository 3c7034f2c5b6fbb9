#include "logbook/QslStapel.h"

#include "adif/AdifFormat.h"
#include "adif/Dateiablage.h"
#include "core/Einstellungen.h"
#include "core/Hilfen.h"
#include "logbook/Eingabewerte.h"
#include "logbook/Logbrowser.h"

#include <QDir>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <cstring>
#include <numeric>

namespace {

// The values of a record the filter looks at, as bytes of the file.
struct Merkmale
{
    QByteArrayView gesendet;      // QSL_SENT, the standard's
    QByteArrayView gesendetEigen; // QSL_SEND, the program's own
    QByteArrayView erhalten;      // QSL_RCVD
    QByteArrayView datum;         // QSO_DATE
};

// Of each name only the first field counts, as for the loader.
Merkmale merkmaleLesen(const char *d, qsizetype n)
{
    Merkmale m;
    AdifFeldLeser leser(d, n);
    AdifFeld f;
    while (leser.naechstes(&f)) {
        if (!f.mitLaenge)
            continue;
        QByteArrayView *ziel = nullptr;
        if (leser.heisst(f, "QSL_SENT"))
            ziel = &m.gesendet;
        else if (leser.heisst(f, "QSL_SEND"))
            ziel = &m.gesendetEigen;
        else if (leser.heisst(f, "QSL_RCVD"))
            ziel = &m.erhalten;
        else if (leser.heisst(f, "QSO_DATE"))
            ziel = &m.datum;
        if (ziel && ziel->data() == nullptr)
            *ziel = QByteArrayView(d + f.wertAnfang, f.wertLaenge);
    }
    return m;
}

// The value is the one letter, in any case, blanks around it aside.
bool ist(QByteArrayView wert, char buchstabe)
{
    const QByteArrayView w = wert.trimmed();
    return w.size() == 1 && (w[0] | 0x20) == (buchstabe | 0x20);
}

// A quick look before the field reader, which is much slower: whether the
// record holds a tag with the name (upper case, "QSL_SENT") whose value, read
// loosely, starts with one of the letters (lower case). Every field the reader
// finds is such a tag, so a record without one cannot be taken.
bool vielleicht(const char *d, qsizetype n, const char (&name)[9], const char *buchstaben)
{
    const char *const ende = d + n;
    const char *p = d + 3;
    while (p < ende && (p = static_cast<const char *>(std::memchr(p, '_', size_t(ende - p)))) != nullptr) {
        const char *anfang = p - 3;
        ++p;
        if (ende - anfang < 8)
            break;
        bool gleich = true;
        for (int i = 0; i < 8 && gleich; ++i)
            gleich = (anfang[i] & ~0x20) == (name[i] & ~0x20) || (anfang[i] == '_' && name[i] == '_');
        if (!gleich)
            continue;
        const char *w = static_cast<const char *>(std::memchr(anfang + 8, '>', size_t(ende - anfang - 8)));
        if (!w)
            return false;
        for (++w; w < ende && (*w == ' ' || (*w >= '\t' && *w <= '\r'));)
            ++w;
        if (w < ende && std::strchr(buchstaben, *w | 0x20))
            return true;
    }
    return false;
}

bool vielleicht(StapelFilter filter, const char *d, qsizetype n)
{
    switch (filter) {
    case StapelFilter::Angefordert: return vielleicht(d, n, "QSL_SENT", "rq");
    case StapelFilter::Erhalten: return vielleicht(d, n, "QSL_RCVD", "y");
    case StapelFilter::Ungesendet: return true;
    }
    return true;
}

// A cheap fingerprint of a record's text: its length and eight bytes from
// its middle. Records with different fingerprints differ.
quint64 fingerabdruck(const char *d, qsizetype n)
{
    quint64 mitte = 0;
    if (n >= 8)
        std::memcpy(&mitte, d + n / 2 - 4, 8);
    return mitte ^ (quint64(n) * 0x9E3779B97F4A7C15ull);
}

bool nimmt(StapelFilter filter, const Merkmale &m)
{
    const bool gesendet = ist(m.gesendet, 'Y') || ist(m.gesendetEigen, 'Y') || ist(m.gesendet, 'I');
    switch (filter) {
    case StapelFilter::Angefordert: return ist(m.gesendet, 'R') || ist(m.gesendet, 'Q');
    case StapelFilter::Erhalten: return ist(m.erhalten, 'Y') && !gesendet;
    case StapelFilter::Ungesendet: return !gesendet;
    }
    return false;
}

// The QSO date as yyyymmdd, read as the log browser reads it.
QString datumText(QByteArrayView wert)
{
    const QString d = QString::fromLatin1(wert.trimmed());
    return d.size() < 8 ? DatumYYYYMMDD(d) : d;
}

// Hours and minutes sort as numbers: 9:34 before 12:15.
QString zeitSchluessel(const QString &zeit)
{
    return zeit.rightJustified(5, QLatin1Char('0'));
}

// What the hand-over needs, read as it reads the browser's fields.
bool vollstaendig(const AdifSatz &s)
{
    return !s.Call.isEmpty() && !s.ZeitText.isEmpty() && !DatumLeer(DatumAusEingabe(s.DatumText));
}

} // namespace

QStringList StapelDateien(const QString &AdifDatGes)
{
    QStringList dateien;
    QSet<QString> gesehen;
    for (const QString &pfad : AdifDatGes.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (!gesehen.contains(KanonischerPfad(pfad))) {
            gesehen.insert(KanonischerPfad(pfad));
            dateien.append(pfad);
        }
    }
    return dateien;
}

QslStapel StapelAufbauen(const QStringList &dateien, StapelFilter filter, const QDate &ab)
{
    QslStapel stapel;
    const QString eigenerLoc = Einstellung(QStringLiteral("MyLoc"));
    const QString abText = ab.isValid() ? ab.toString(QStringLiteral("yyyyMMdd")) : QString();
    QSet<QString> gelesen;
    for (const QString &pfad : dateien) {
        const QString datei = KanonischerPfad(pfad);
        if (gelesen.contains(datei))
            continue;
        gelesen.insert(datei);
        QByteArray daten;
        QString fehler;
        if (!DateiBytesLesen(pfad, &daten, &fehler)) {
            stapel.Fehler.append(fehler);
            continue;
        }
        const char *d = daten.constData();
        const QList<AdifRecordStelle> records = AdifRecordsTeilen(d, daten.size());
        QList<qsizetype> genommen;
        for (qsizetype i = 0; i < records.size(); ++i) {
            const AdifRecordStelle &r = records.at(i);
            if (!vielleicht(filter, d + r.anfang, r.laenge))
                continue;
            const Merkmale m = merkmaleLesen(d + r.anfang, r.laenge);
            if (!nimmt(filter, m))
                continue;
            if (!abText.isEmpty()) {
                const QString tag = m.datum.data() ? datumText(m.datum) : QString();
                if (tag.size() != 8 || tag < abText)
                    continue;
            }
            StapelEintrag e;
            e.Datei = datei;
            e.Gelesen = QString::fromLatin1(d + r.anfang, r.laenge);
            e.Satz = SatzParsen(e.Gelesen, eigenerLoc);
            e.Erhalten = ist(m.erhalten, 'Y');
            if (!vollstaendig(e.Satz)) {
                ++stapel.Unvollstaendig;
                continue;
            }
            genommen.append(i);
            stapel.Eintraege.append(std::move(e));
        }
        if (genommen.isEmpty())
            continue;

        // Which of several identical records each one is: the mark has to go
        // onto that very record.
        const qsizetype erstes = stapel.Eintraege.size() - genommen.size();
        QHash<QByteArrayView, qint32> gesucht;
        QSet<quint64> abdruecke;
        for (qsizetype k = erstes; k < stapel.Eintraege.size(); ++k) {
            const AdifRecordStelle &r = records.at(genommen.at(k - erstes));
            gesucht.insert(QByteArrayView(d + r.anfang, r.laenge), 0);
            abdruecke.insert(fingerabdruck(d + r.anfang, r.laenge));
        }
        qsizetype k = erstes;
        for (qsizetype i = 0; i < records.size(); ++i) {
            if (!abdruecke.contains(fingerabdruck(d + records.at(i).anfang, records.at(i).laenge)))
                continue;
            const auto it = gesucht.find(QByteArrayView(d + records.at(i).anfang, records.at(i).laenge));
            if (it == gesucht.end())
                continue;
            if (k < stapel.Eintraege.size() && genommen.at(k - erstes) == i)
                stapel.Eintraege[k++].Vorkommen = *it;
            ++*it;
        }
    }

    // Callsign, date and time as one key; the separator sorts before every
    // character, so a callsign comes before its longer forms.
    QList<QString> schluessel;
    schluessel.reserve(stapel.Eintraege.size());
    for (const StapelEintrag &e : std::as_const(stapel.Eintraege))
        schluessel.append(e.Satz.Call + QChar(1) + e.Satz.DatumText + QChar(1) + zeitSchluessel(e.Satz.ZeitText));
    QList<qsizetype> folge(stapel.Eintraege.size());
    std::iota(folge.begin(), folge.end(), 0);
    std::stable_sort(folge.begin(), folge.end(),
                     [&schluessel](qsizetype a, qsizetype b) { return schluessel.at(a) < schluessel.at(b); });
    QList<StapelEintrag> sortiert;
    sortiert.reserve(folge.size());
    for (const qsizetype i : folge)
        sortiert.append(std::move(stapel.Eintraege[i]));
    stapel.Eintraege = std::move(sortiert);
    return stapel;
}

std::optional<QsoDaten> StapelQso(const StapelEintrag &e, bool tnx, const QDate &heute, Kartenvorschau *karte)
{
    Browserfelder felder;
    SatzFelderFuellen(felder, e.Satz, heute);
    // Choosing PSE or TNX in the browser, as the user would before "&OK".
    if (tnx)
        felder.tnxWaehlen(heute);
    else
        felder.pseWaehlen();
    return FelderUebergeben(felder, e.Satz, heute, karte);
}
