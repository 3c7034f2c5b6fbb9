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
        for (qsizetype k = erstes; k < stapel.Eintraege.size(); ++k)
            gesucht.insert(QByteArrayView(d + records.at(genommen.at(k - erstes)).anfang,
                                          records.at(genommen.at(k - erstes)).laenge),
                           0);
        qsizetype k = erstes;
        for (qsizetype i = 0; i < records.size(); ++i) {
            const auto it = gesucht.find(QByteArrayView(d + records.at(i).anfang, records.at(i).laenge));
            if (it == gesucht.end())
                continue;
            if (k < stapel.Eintraege.size() && genommen.at(k - erstes) == i)
                stapel.Eintraege[k++].Vorkommen = *it;
            ++*it;
        }
    }

    QList<qsizetype> folge(stapel.Eintraege.size());
    std::iota(folge.begin(), folge.end(), 0);
    const QList<StapelEintrag> &e = stapel.Eintraege;
    std::stable_sort(folge.begin(), folge.end(), [&e](qsizetype a, qsizetype b) {
        const AdifSatz &x = e.at(a).Satz;
        const AdifSatz &y = e.at(b).Satz;
        if (const int c = x.Call.compare(y.Call))
            return c < 0;
        if (const int c = x.DatumText.compare(y.DatumText))
            return c < 0;
        return zeitSchluessel(x.ZeitText) < zeitSchluessel(y.ZeitText);
    });
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
