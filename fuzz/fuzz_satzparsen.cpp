// The record parser with the QSL status, and the merge of a printed QSO into
// its record. Input: one control byte (bits 0-6 the fields the user corrected,
// bit 7 set: the third line is a raw built line instead of field values), then
// lines: the record, the own locator, and the values of the built line's fields
// separated by "|" (in the order the record builder writes them; an empty value
// leaves the field out, as the builder does; a last value "EQSL" or "LOTW"
// names the medium of the QSL fields, anything else is paper).

#include "FuzzHilfe.h"

#include "adif/AdifFormat.h"
#include "adif/AdifLesen.h"
#include "adif/AdifMischen.h"

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

// False when some "<" outside a value starts no well-formed field.
bool felderLesen(const QString &z, QHash<QString, Feld> &felder)
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
        i = z.indexOf(QLatin1Char('<'), f.ende);
    }
    return sauber;
}

// The record builder's field order; the QSL group is chosen by the control.
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

QSet<QString> ersetzendeFelder(Korrekturen k)
{
    QSet<QString> namen{QStringLiteral("QSL_SEND_VIA")};
    for (const char *g : {"", "EQSL_", "LOTW_"}) {
        for (const char *r : {"QSL_RCVD", "QSLRDATE", "QSL_SEND", "QSLSDATE"})
            namen.insert(QLatin1String(g) + QLatin1String(r));
    }
    const std::pair<Korrektur, QStringList> korrektur[] = {
        {Korrektur::Call, {QStringLiteral("CALL")}},
        {Korrektur::Datum, {QStringLiteral("QSO_DATE"), QStringLiteral("QSO_DATE_OFF")}},
        {Korrektur::UTC, {QStringLiteral("TIME_OFF"), QStringLiteral("TIME_ON")}},
        {Korrektur::RST, {QStringLiteral("RST_SENT")}},
        {Korrektur::Mode, {QStringLiteral("MODE")}},
        {Korrektur::MHz, {QStringLiteral("FREQ"), QStringLiteral("BAND")}},
        {Korrektur::QSOvia, {QStringLiteral("PROP_MODE")}},
    };
    for (const auto &[flag, felder] : korrektur) {
        if (k.testFlag(flag)) {
            for (const QString &f : felder)
                namen.insert(f);
        }
    }
    return namen;
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
    if (!felderLesen(original, alt) || !felderLesen(gebaut, g))
        return;
    // The record builder writes the program's own QSL_SEND names only; a built
    // line with the standard's names as well would contradict itself.
    for (const char *norm : {"QSL_SENT", "EQSL_QSL_SENT", "LOTW_QSL_SENT"}) {
        if (g.contains(QLatin1String(norm)))
            return;
    }
    QHash<QString, Feld> neu;
    FUZZ_PRUEFEN(felderLesen(m, neu));
    FUZZ_PRUEFEN(AdifSatzMischen(m, gebaut, k) == m);

    const QSet<QString> ersetzend = ersetzendeFelder(k);
    for (auto it = g.cbegin(); it != g.cend(); ++it) {
        if (it.key() == QLatin1String("EOR") || it.key() == QLatin1String("EOH"))
            continue;
        FUZZ_PRUEFEN(neu.contains(it.key()));
        if (!alt.contains(it.key()) || ersetzend.contains(it.key()))
            FUZZ_PRUEFEN(neu.value(it.key()).wert == it->wert);
        else
            FUZZ_PRUEFEN(neu.value(it.key()).wert == alt.value(it.key()).wert);
    }
    const QHash<QString, QString> standard{{QStringLiteral("QSL_SENT"), QStringLiteral("QSL_SEND")},
                                           {QStringLiteral("EQSL_QSL_SENT"), QStringLiteral("EQSL_QSL_SEND")},
                                           {QStringLiteral("LOTW_QSL_SENT"), QStringLiteral("LOTW_QSL_SEND")}};
    for (auto it = alt.cbegin(); it != alt.cend(); ++it) {
        if (g.contains(it.key()))
            continue;
        FUZZ_PRUEFEN(neu.contains(it.key()));
        const QString eigen = standard.value(it.key());
        const bool markiert = !eigen.isEmpty() && g.value(eigen).wert == QLatin1String("Y");
        FUZZ_PRUEFEN(neu.value(it.key()).wert == (markiert ? QStringLiteral("Y") : it->wert));
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

    const Korrekturen k = Korrekturen::fromInt(steuer & 0x7f);
    const bool roh = steuer & 0x80;
    const QString gebaut = roh ? QString::fromLatin1(t.at(2)) : gebautAus(t.at(2));
    mischenPruefen(zeile, gebaut, k);
    return 0;
}
