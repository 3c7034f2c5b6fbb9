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
        && a.Mode == b.Mode && a.MHzText == b.MHzText && a.Ausbreitung == b.Ausbreitung
        && a.Kommentar == b.Kommentar && a.QslVia == b.QslVia && a.MyLoc == b.MyLoc && a.Loc == b.Loc
        && a.QslSent == b.QslSent && a.QslRcvd == b.QslRcvd && a.QslSDate == b.QslSDate
        && a.QslRDate == b.QslRDate && a.QslMedium == b.QslMedium;
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

// Fields by the ADIF rules the merge promises to keep: "<NAME:LENGTH[:TYPE]>"
// and LENGTH characters, or "<NAME>". Only the first field of a name counts.
struct Feld
{
    QString wert;
    qsizetype ende = 0;
};

bool namensZeichen(QChar c)
{
    return !c.isSpace() && c != QLatin1Char('<') && c != QLatin1Char('>') && c != QLatin1Char(':')
        && c != QLatin1Char(',') && c != QLatin1Char('{') && c != QLatin1Char('}');
}

// False when some "<" outside a value starts no well-formed field. With
// bisEor, reading stops after the first <EOR>: the record ends there.
bool felderLesen(const QString &z, QHash<QString, Feld> &felder, bool bisEor = false)
{
    bool sauber = true;
    const qsizetype n = z.size();
    qsizetype i = z.indexOf(QLatin1Char('<'));
    while (i >= 0) {
        qsizetype j = i + 1;
        while (j < n && namensZeichen(z.at(j)))
            ++j;
        const QString name = GrossBuchstaben(z.mid(i + 1, j - i - 1));
        Feld f;
        bool gut = false;
        if (!name.isEmpty() && j < n && z.at(j) == QLatin1Char('>')) {
            f.ende = j + 1;
            gut = true;
        } else if (!name.isEmpty() && j < n && z.at(j) == QLatin1Char(':')) {
            qsizetype k = j + 1;
            const qsizetype zahlAnfang = k;
            while (k < n && z.at(k).isDigit() && z.at(k).unicode() < 128)
                ++k;
            bool ok = k > zahlAnfang && k - zahlAnfang < 10;
            const qsizetype laenge = ok ? z.mid(zahlAnfang, k - zahlAnfang).toLongLong() : 0;
            if (ok && k < n && z.at(k) == QLatin1Char(':')) {
                ++k;
                while (k < n && z.at(k).isLetter())
                    ++k;
            }
            if (ok && k < n && z.at(k) == QLatin1Char('>') && laenge <= n - k - 1) {
                f.wert = z.mid(k + 1, laenge);
                f.ende = k + 1 + laenge;
                gut = true;
            }
        }
        if (!gut) {
            sauber = false;
            i = z.indexOf(QLatin1Char('<'), i + 1);
            continue;
        }
        if (!felder.contains(name))
            felder.insert(name, f);
        if (bisEor && name == QLatin1String("EOR"))
            break;
        i = z.indexOf(QLatin1Char('<'), f.ende);
    }
    return sauber;
}

// The record builder's field order, with fields it no longer writes, which the
// merge has to leave out; the QSL group is chosen by the last value.
const char *const kGebaut[] = {"CALL",     "QSO_DATE", "QSO_DATE_OFF", "TIME_OFF",  "TIME_ON",
                               "RST_RCVD", "RST_SENT", "MODE",         "FREQ",      "BAND",
                               "PROP_MODE", "COMMENT", "QSL_SEND_VIA", "QSL_RCVD",  "QSLRDATE",
                               "QSL_SEND", "QSLSDATE", "STATION_CALLSIGN", "MY_GRIDSQUARE"};

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
QHash<QString, QString> erwarteteWerte(const QHash<QString, Feld> &g, Korrekturen k, QSet<QString> &nurErsetzen)
{
    auto w = [&](const QString &name) { return g.value(name).wert; };
    QHash<QString, QString> e;
    auto soll = [&](const QString &name, const QString &wert, bool nur = false) {
        if (wert.isEmpty())
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
    if (k.testFlag(Korrektur::MHz) && !w(QStringLiteral("FREQ")).isEmpty()) {
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

void mischenPruefen(const QString &original, const QString &gebaut, Korrekturen k)
{
    const QString m = AdifSatzMischen(original, gebaut, k);
    FUZZ_PRUEFEN(AdifSatzMischen(original, QString(), k) == original);
    if (original.isEmpty()) {
        FUZZ_PRUEFEN(m == gebaut);
        return;
    }
    // A malformed "<" in the original may turn into a field once the line has
    // grown; such a line was no clean ADIF before, so only clean lines are held
    // to the field promises.
    QHash<QString, Feld> alt;
    QHash<QString, Feld> g;
    if (!felderLesen(original, alt, true) || !felderLesen(gebaut, g))
        return;
    QHash<QString, Feld> neu;
    FUZZ_PRUEFEN(felderLesen(m, neu, true));
    FUZZ_PRUEFEN(AdifSatzMischen(m, gebaut, k) == m);
    // Whatever follows the record's <EOR> is not the record's.
    if (alt.contains(QStringLiteral("EOR")))
        FUZZ_PRUEFEN(original.mid(alt.value(QStringLiteral("EOR")).ende)
                     == m.mid(neu.value(QStringLiteral("EOR")).ende));

    QSet<QString> nurErsetzen;
    const QHash<QString, QString> soll = erwarteteWerte(g, k, nurErsetzen);
    // The record's own fields keep their values unless the print sets them.
    for (auto it = alt.cbegin(); it != alt.cend(); ++it) {
        if (!soll.contains(it.key()))
            FUZZ_PRUEFEN(neu.contains(it.key()) && neu.value(it.key()).wert == it->wert);
    }
    // Nothing but what the print sets comes in, with the value it sets; a band
    // the record names in any spelling stays while the frequency lies in it.
    const QString band = alt.value(QStringLiteral("BAND")).wert.trimmed();
    for (auto it = neu.cbegin(); it != neu.cend(); ++it) {
        if (it.key() == QLatin1String("EOR"))
            continue;
        if (!soll.contains(it.key())) {
            FUZZ_PRUEFEN(alt.contains(it.key()));
            continue;
        }
        const QString wert = soll.value(it.key());
        if (it.key() == QLatin1String("BAND") && alt.contains(it.key()) && !wert.isEmpty()
            && band.compare(wert, Qt::CaseInsensitive) == 0)
            FUZZ_PRUEFEN(it->wert == alt.value(it.key()).wert);
        else
            FUZZ_PRUEFEN(it->wert == wert);
        FUZZ_PRUEFEN(!nurErsetzen.contains(it.key()) || alt.contains(it.key()));
    }
    for (auto it = soll.cbegin(); it != soll.cend(); ++it)
        FUZZ_PRUEFEN(it->isEmpty() || nurErsetzen.contains(it.key()) || neu.contains(it.key()));
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
