// The record parser with the QSL status, and the merge of a printed QSO into
// its record. Input: one control byte (the fields the user corrected), then
// lines: the record, the own locator, and either a raw built line (starting
// with "<") or the values of the built line's fields separated by "|" (in the
// order the record builder once wrote them; an empty value leaves the field
// out, as the builder does; a last value "EQSL" or "LOTW" names the medium of
// the QSL fields, anything else is paper).

#include "FuzzHilfe.h"

#include "adif/AdifFormat.h"
#include "adif/AdifLesen.h"
#include "adif/AdifMischen.h"
#include "adif/AdifWerte.h"

#include <QHash>
#include <QSet>
#include <iterator>

namespace {

bool gleich(const AdifSatz &a, const AdifSatz &b)
{
    return a.Call == b.Call && a.DatumText == b.DatumText && a.ZeitText == b.ZeitText && a.RST == b.RST
           && a.Mode == b.Mode && a.MHzText == b.MHzText && a.Ausbreitung == b.Ausbreitung && a.Kommentar == b.Kommentar
           && a.QslVia == b.QslVia && a.MyLoc == b.MyLoc && a.Loc == b.Loc && a.QslSent == b.QslSent
           && a.QslRcvd == b.QslRcvd && a.QslSDate == b.QslSDate && a.QslRDate == b.QslRDate
           && a.QslMedium == b.QslMedium;
}

void parsenPruefen(const QString &zeile, const QString &eigenerLoc)
{
    const AdifSatz s = SatzParsen(zeile, eigenerLoc);
    // Tags and values are read upper-cased, so the spelling of the line does not matter.
    FUZZ_PRUEFEN(gleich(s, SatzParsen(GrossBuchstaben(zeile), eigenerLoc)));

    FUZZ_PRUEFEN(s.DatumText.isEmpty()
                 || (s.DatumText.size() == 10 && s.DatumText.at(4) == QLatin1Char('/')
                     && s.DatumText.at(7) == QLatin1Char('/')));
    FUZZ_PRUEFEN(s.ZeitText.isEmpty() || s.ZeitText.at(s.ZeitText.size() - 3) == QLatin1Char(':'));
    FUZZ_PRUEFEN(!s.Ausbreitung.isEmpty());
    FUZZ_PRUEFEN(s.Kommentar.startsWith(QLatin1String("tnx fb ")) && s.Kommentar.endsWith(QLatin1String(" QSO")));
    // A short locator is extended to its subsquare's centre.
    for (const QString &loc : {s.Loc, s.MyLoc})
        FUZZ_PRUEFEN(loc.isEmpty() || loc.size() >= 5 || loc.endsWith(QLatin1String("mm")));

    const QslStatus st = QslStatusLesen(zeile);
    FUZZ_PRUEFEN(st.Sent == s.QslSent && st.Rcvd == s.QslRcvd && st.SDate == s.QslSDate && st.RDate == s.QslRDate
                 && st.Medium == s.QslMedium);
    static const QSet<QString> medien{QString(), QStringLiteral("paper QSL card"), QStringLiteral("eQSL"),
                                      QStringLiteral("LOTW")};
    FUZZ_PRUEFEN(medien.contains(st.Medium));
    if (st.Medium.isEmpty())
        FUZZ_PRUEFEN(!st.Sent && !st.Rcvd && st.SDate.isEmpty() && st.RDate.isEmpty());
}

// What the loader reads of a record: for each name (upper-cased) the value of
// its first field with a length, up to the record's <EOR>. sauber tells
// whether every "<" of the record opens a field read by its declared length.
QHash<QString, QString> werteLesen(const QString &r, bool *sauber = nullptr)
{
    QHash<QString, QString> werte;
    AdifFeldLeser leser(r);
    AdifFeld f;
    qsizetype felder = 0;
    qsizetype ende = r.size();
    qsizetype letztesFeld = 0;
    bool nurLeerDazwischen = true;
    bool mitEor = false;
    bool alleNachLaenge = true;
    while (leser.naechstes(&f)) {
        ++felder;
        alleNachLaenge = alleNachLaenge && f.nachLaenge;
        nurLeerDazwischen =
            nurLeerDazwischen && QStringView(r).mid(letztesFeld, f.anfang - letztesFeld).trimmed().isEmpty();
        letztesFeld = f.ende;
        if (f.nachLaenge && leser.heisst(f, "EOR")) {
            ende = f.ende;
            mitEor = true;
            break;
        }
        const QString name = GrossBuchstaben(r.mid(f.anfang + 1, f.nameLaenge));
        if (f.mitLaenge && !werte.contains(name))
            werte.insert(name, r.mid(f.wertAnfang, f.wertLaenge));
    }
    // Without <EOR> the record ends with its last field's line; stray text
    // between or after the fields would be left outside the record once the
    // merge removes its last field (a band the frequency left), so such a
    // record may be refused.
    if (sauber)
        *sauber = alleNachLaenge && QStringView(r).left(ende).count(QLatin1Char('<')) == felder
                  && (mitEor || (nurLeerDazwischen && QStringView(r).mid(letztesFeld).trimmed().isEmpty()));
    return werte;
}

// Where the loader finds records in the text, as it stands after a header.
QList<AdifRecordStelle> recordsLesen(const QString &text)
{
    const QByteArray b = "<EOH>" + text.toLatin1();
    return AdifRecordsTeilen(b.constData(), b.size());
}

// The record builder's field order, with fields it no longer writes, which the
// merge has to leave out; the QSL group is chosen by the last value.
const char *const kGebaut[] = {"CALL",         "QSO_DATE", "QSO_DATE_OFF", "TIME_OFF", "TIME_ON",   "RST_RCVD",
                               "RST_SENT",     "MODE",     "FREQ",         "BAND",     "PROP_MODE", "COMMENT",
                               "QSL_SEND_VIA", "QSL_RCVD", "QSLRDATE",     "QSL_SEND", "QSLSDATE",  "STATION_CALLSIGN",
                               "MY_GRIDSQUARE"};

QString gebautAus(const QByteArray &werte)
{
    const QByteArrayList w = werte.split('|');
    const qsizetype anzahl = qsizetype(std::size(kGebaut));
    const QByteArray medium = w.size() > anzahl ? w.at(anzahl) : QByteArray();
    const char *vorsilbe = medium == "EQSL" ? "EQSL_" : medium == "LOTW" ? "LOTW_" : "";
    QString s;
    for (qsizetype i = 0; i < anzahl; ++i) {
        QString wert = i < w.size() ? QString::fromLatin1(w.at(i)) : QString();
        wert.replace(QLatin1Char('\r'), QLatin1Char(' '));
        wert.replace(QLatin1Char('\n'), QLatin1Char(' '));
        if (wert.isEmpty())
            continue;
        QString name = QLatin1String(kGebaut[i]);
        if (i >= 13 && i <= 16)
            name.prepend(QLatin1String(vorsilbe));
        s += QLatin1Char('<') + name + QLatin1Char(':') + QString::number(wert.size()) + QLatin1Char('>') + wert;
    }
    return s + QStringLiteral("<EOR>");
}

// What the merge may write, by name: the value a field of that name must have
// afterwards. An empty BAND means none; names in nurErsetzen are only changed
// where the record has them.
QHash<QString, QString> erwarteteWerte(const QHash<QString, QString> &g, Korrekturen k, QSet<QString> &nurErsetzen)
{
    auto w = [&](const QString &name) { return g.value(name); };
    QHash<QString, QString> e;
    // A value holding "<" or a line break is no value the builder writes; it is
    // left out.
    auto schreibbar = [](const QString &wert) {
        return !wert.contains(QLatin1Char('<')) && !wert.contains(QLatin1Char('\r'))
               && !wert.contains(QLatin1Char('\n'));
    };
    auto soll = [&](const QString &name, const QString &wert, bool nur = false) {
        if (wert.isEmpty() || !schreibbar(wert))
            return;
        e.insert(name, wert);
        if (nur)
            nurErsetzen.insert(name);
    };
    if (k.testFlag(Korrektur::Call))
        soll(QStringLiteral("CALL"), w(QStringLiteral("CALL")));
    if (k.testFlag(Korrektur::Datum)) {
        soll(QStringLiteral("QSO_DATE"), AdifDatum(w(QStringLiteral("QSO_DATE"))));
        soll(QStringLiteral("QSO_DATE_OFF"), AdifDatum(w(QStringLiteral("QSO_DATE"))), true);
    }
    if (k.testFlag(Korrektur::UTC)) {
        soll(QStringLiteral("TIME_ON"), w(QStringLiteral("TIME_ON")));
        soll(QStringLiteral("TIME_OFF"), w(QStringLiteral("TIME_ON")), true);
    }
    if (k.testFlag(Korrektur::RST))
        soll(QStringLiteral("RST_SENT"), w(QStringLiteral("RST_SENT")));
    if (k.testFlag(Korrektur::Mode))
        soll(QStringLiteral("MODE"), GrossBuchstaben(w(QStringLiteral("MODE"))));
    const QString freq = w(QStringLiteral("FREQ"));
    if (k.testFlag(Korrektur::MHz) && !freq.isEmpty() && schreibbar(freq)) {
        soll(QStringLiteral("FREQ"), w(QStringLiteral("FREQ")));
        e.insert(QStringLiteral("BAND"), AdifBandAusMHz(w(QStringLiteral("FREQ")).toDouble()));
    }
    if (k.testFlag(Korrektur::QSOvia))
        soll(QStringLiteral("PROP_MODE"), AdifAusbreitung(w(QStringLiteral("PROP_MODE"))));
    if (k.testFlag(Korrektur::QSLvia))
        soll(QStringLiteral("QSL_VIA"), w(QStringLiteral("QSL_SEND_VIA")));
    for (const char *gruppe : {"", "EQSL_", "LOTW_"}) {
        const QString v = QLatin1String(gruppe);
        soll(v + QLatin1String("QSL_RCVD"), w(v + QLatin1String("QSL_RCVD")));
        soll(v + QLatin1String("QSLRDATE"), AdifDatum(w(v + QLatin1String("QSLRDATE"))));
        soll(v + QLatin1String("QSL_SEND"), w(v + QLatin1String("QSL_SEND")));
        if (w(v + QLatin1String("QSL_SEND")) == QLatin1String("Y"))
            soll(v + QLatin1String("QSL_SENT"), QStringLiteral("Y"));
        soll(v + QLatin1String("QSLSDATE"), AdifDatum(w(v + QLatin1String("QSLSDATE"))));
    }
    return e;
}

// The record as the loader cuts it from the line gets the print merged in.
// Read back by the loader's rules, it is found where it was and has exactly
// the values the print sets, every other value as before; or, where that
// cannot be, it stays as it was, which a record whose every "<" opens a field
// read by its length never does.
void mischenPruefen(const QString &zeile, const QString &gebaut, Korrekturen k)
{
    const QList<AdifRecordStelle> stellen = recordsLesen(zeile);
    const QString original = stellen.isEmpty() ? zeile : zeile.mid(stellen[0].anfang - 5, stellen[0].laenge);
    bool gemischt = false;
    const QString m = AdifSatzMischen(original, gebaut, k, &gemischt);
    FUZZ_PRUEFEN(AdifSatzMischen(original, QString(), k) == original);
    if (original.isEmpty()) {
        FUZZ_PRUEFEN(m == gebaut && gemischt);
        return;
    }
    bool sauber = false;
    const QHash<QString, QString> alt = werteLesen(original, &sauber);
    const QList<AdifRecordStelle> records = recordsLesen(original);
    const bool ganz = records.size() == 1 && records[0].anfang == 5 && records[0].laenge == original.size();
    if (!gemischt) {
        FUZZ_PRUEFEN(m == original && !(sauber && ganz));
        return;
    }
    FUZZ_PRUEFEN(AdifSatzMischen(m, gebaut, k) == m);
    const QList<AdifRecordStelle> jetzt = recordsLesen(m);
    FUZZ_PRUEFEN(jetzt.size() == records.size());
    if (ganz)
        FUZZ_PRUEFEN(jetzt[0].anfang == 5 && jetzt[0].laenge == m.size());

    const QHash<QString, QString> neu = werteLesen(m);
    const QHash<QString, QString> g = werteLesen(gebaut);
    QSet<QString> nurErsetzen;
    const QHash<QString, QString> soll = erwarteteWerte(g, k, nurErsetzen);
    // The record's own values stay unless the print sets them.
    for (auto it = alt.cbegin(); it != alt.cend(); ++it) {
        if (!soll.contains(it.key()))
            FUZZ_PRUEFEN(neu.contains(it.key()) && neu.value(it.key()) == *it);
    }
    // Nothing but what the print sets comes in, with the value it sets; a band
    // the record names in any spelling stays while the frequency lies in it.
    const QString band = alt.value(QStringLiteral("BAND")).trimmed();
    for (auto it = neu.cbegin(); it != neu.cend(); ++it) {
        if (!soll.contains(it.key())) {
            FUZZ_PRUEFEN(alt.contains(it.key()));
            continue;
        }
        const QString wert = soll.value(it.key());
        if (it.key() == QLatin1String("BAND") && alt.contains(it.key()) && !wert.isEmpty()
            && band.compare(wert, Qt::CaseInsensitive) == 0)
            FUZZ_PRUEFEN(*it == alt.value(it.key()));
        else
            FUZZ_PRUEFEN(*it == wert);
        FUZZ_PRUEFEN(!nurErsetzen.contains(it.key()) || alt.contains(it.key()));
    }
    for (auto it = soll.cbegin(); it != soll.cend(); ++it)
        FUZZ_PRUEFEN(it->isEmpty() || nurErsetzen.contains(it.key()) || neu.contains(it.key()));
    // The loader sees the card as sent.
    for (const char *gruppe : {"", "EQSL_", "LOTW_"}) {
        if (g.value(QLatin1String(gruppe) + QLatin1String("QSL_SEND")).compare(QLatin1String("Y"), Qt::CaseInsensitive)
            == 0)
            FUZZ_PRUEFEN(QslStatusLesen(m).Sent);
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
    if (groesse < 1)
        return 0;
    const uint8_t steuer = daten[0];
    const QByteArrayList t = FuzzHilfe::teile(FuzzHilfe::bytes(daten + 1, groesse - 1), 3);
    const QString zeile = QString::fromLatin1(t.at(0));
    parsenPruefen(zeile, QString::fromLatin1(t.at(1)));

    const Korrekturen k = Korrekturen::fromInt(steuer);
    const bool roh = t.at(2).startsWith('<');
    const QString gebaut = roh ? QString::fromLatin1(t.at(2)) : gebautAus(t.at(2));
    mischenPruefen(zeile, gebaut, k);
    return 0;
}
