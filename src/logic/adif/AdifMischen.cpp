#include "adif/AdifMischen.h"

#include "adif/AdifFormat.h"
#include "adif/AdifWerte.h"

#include <QHash>
#include <QList>
#include <algorithm>

namespace {

// A field as the loader reads it (AdifFeldLeser), with its name upper-cased.
struct Feld
{
    AdifFeld f;
    QString name;
};

// The fields of a record up to its <EOR>, which is the last of them when the
// record has one.
struct Felder
{
    QList<Feld> liste;
    qsizetype eor = -1;
    qsizetype bisEor() const { return eor >= 0 ? eor : liste.size(); }
};

Felder felderLesen(const QString &text)
{
    Felder felder;
    AdifFeldLeser leser(text);
    AdifFeld f;
    while (leser.naechstes(&f)) {
        felder.liste.append({f, GrossBuchstaben(text.mid(f.anfang + 1, f.nameLaenge))});
        // Only a well-formed <EOR> ends a record, as the loader splits a file.
        if (f.nachLaenge && felder.liste.last().name == QLatin1String("EOR")) {
            felder.eor = felder.liste.size() - 1;
            break;
        }
    }
    return felder;
}

// What the loader reads of a record: for each name the value of its first
// field with a length.
QHash<QString, QString> werteLesen(const QString &text, const Felder &felder)
{
    QHash<QString, QString> werte;
    for (qsizetype i = 0; i < felder.bisEor(); ++i) {
        const Feld &x = felder.liste[i];
        if (x.f.mitLaenge && !werte.contains(x.name))
            werte.insert(x.name, text.mid(x.f.wertAnfang, x.f.wertLaenge));
    }
    return werte;
}

// The records the loader finds in the text where it stands in a file.
QList<AdifRecordStelle> recordsLesen(const QString &text)
{
    const QByteArray bytes = "<EOH>" + text.toLatin1();
    return AdifRecordsTeilen(bytes.constData(), bytes.size());
}

struct Aenderung
{
    qsizetype anfang;
    qsizetype ende;
    QString text;
};

// The original's field with a new value, keeping the name's spelling and a
// well-formed type indicator.
QString neuerWert(const QString &s, const AdifFeld &f, const QString &wert)
{
    QString typ;
    qsizetype k = f.anfang + 1 + f.nameLaenge;
    if (f.mitLaenge) {
        ++k;
        while (k < s.size() && s.at(k) >= QLatin1Char('0') && s.at(k) <= QLatin1Char('9'))
            ++k;
        if (k < s.size() && s.at(k) == QLatin1Char(':')) {
            const qsizetype a = ++k;
            while (k < s.size() && s.at(k).isLetter() && s.at(k).unicode() < 0x80)
                ++k;
            if (k < s.size() && s.at(k) == QLatin1Char('>'))
                typ = QLatin1Char(':') + s.mid(a, k - a);
        }
    }
    return QLatin1Char('<') + s.mid(f.anfang + 1, f.nameLaenge) + QLatin1Char(':') + QString::number(wert.size()) + typ
           + QLatin1Char('>') + wert;
}

bool istZeilenende(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

bool istLeer(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// The line end that starts at i: CR LF, LF or CR.
QString zeilenendeAn(const QString &s, qsizetype i)
{
    if (s.at(i) == QLatin1Char('\r') && i + 1 < s.size() && s.at(i + 1) == QLatin1Char('\n'))
        return QStringLiteral("\r\n");
    return QString(s.at(i));
}

// Where the line of position i starts, when only blanks stand before i on it;
// -1 otherwise.
qsizetype zeilenAnfang(const QString &s, qsizetype i)
{
    while (i > 0 && istLeer(s.at(i - 1)))
        --i;
    return i == 0 || istZeilenende(s.at(i - 1)) ? i : -1;
}

// How a record lays out its fields: on lines of their own or not, and if so
// with which line end and indentation, as the fields before <EOR> show it.
struct Form
{
    bool mehrzeilig = false;
    QString zeilenende;
    QString einzug;
};

Form formLesen(const QString &s, const Felder &felder)
{
    Form form;
    bool vomFeld = false;
    const qsizetype anzahl = felder.eor >= 0 ? felder.eor + 1 : felder.liste.size();
    for (qsizetype i = 1; i < anzahl; ++i) {
        const AdifFeld &vorher = felder.liste[i - 1].f;
        const AdifFeld &f = felder.liste[i].f;
        qsizetype bruch = -1;
        for (qsizetype k = f.anfang - 1; k >= vorher.ende; --k) {
            if (istZeilenende(s.at(k))) {
                bruch = k;
                break;
            }
        }
        if (bruch < 0)
            continue;
        form.mehrzeilig = true;
        // The field lines tell the indentation; the line of <EOR> only when
        // there is no other.
        const bool eor = i == felder.eor;
        if (eor && vomFeld)
            continue;
        vomFeld = vomFeld || !eor;
        const qsizetype anfang =
            s.at(bruch) == QLatin1Char('\n') && bruch > vorher.ende && s.at(bruch - 1) == QLatin1Char('\r') ? bruch - 1
                                                                                                            : bruch;
        form.zeilenende = zeilenendeAn(s, anfang);
        const QString vor = s.mid(bruch + 1, f.anfang - bruch - 1);
        form.einzug = std::all_of(vor.cbegin(), vor.cend(), istLeer) ? vor : QString();
    }
    return form;
}

bool schreibbar(const QString &wert)
{
    return std::none_of(wert.cbegin(), wert.cend(), [](QChar c) { return c == QLatin1Char('<') || istZeilenende(c); });
}

QString anwenden(const QString &original, QList<Aenderung> aenderungen)
{
    std::stable_sort(aenderungen.begin(), aenderungen.end(),
                     [](const Aenderung &a, const Aenderung &b) { return a.anfang > b.anfang; });
    QString ergebnis = original;
    for (const Aenderung &a : aenderungen)
        ergebnis.replace(a.anfang, a.ende - a.anfang, a.text);
    return ergebnis;
}

} // namespace

QString AdifSatzMischen(const QString &original, const QString &gebaut, Korrekturen korrigiert, bool *gemischt)
{
    if (gemischt)
        *gemischt = true;
    if (original.isEmpty())
        return gebaut;
    // The record and the built line are read as the loader reads them, so
    // what is changed or added here is what the loader reads afterwards.
    const Felder alt = felderLesen(original);
    const Felder neu = felderLesen(gebaut);
    const qsizetype bisEor = alt.bisEor();
    QHash<QString, qsizetype> erstes;
    for (qsizetype i = 0; i < bisEor; ++i) {
        if (alt.liste[i].f.mitLaenge && !erstes.contains(alt.liste[i].name))
            erstes.insert(alt.liste[i].name, i);
    }
    const QHash<QString, QString> gebauteWerte = werteLesen(gebaut, neu);
    auto wert = [&](const QString &name) { return gebauteWerte.value(name); };

    QHash<QString, QString> soll = werteLesen(original, alt);
    const qsizetype n = original.size();
    QList<Aenderung> aenderungen;
    QList<qsizetype> beruehrt;
    QStringList hinzu;
    // A new value where the field stands, or a new field when the record has
    // none (unless it is only to be replaced). An empty value changes nothing;
    // a value holding "<" or a line break (the record builder writes none) is
    // left out: it could read as a field of its own or lose its line end.
    auto setzen = [&](const QString &name, const QString &w, bool nurErsetzen = false) {
        if (w.isEmpty() || !schreibbar(w))
            return;
        const auto it = erstes.constFind(name);
        if (it != erstes.constEnd()) {
            const AdifFeld &f = alt.liste[*it].f;
            if (QStringView(original).mid(f.wertAnfang, f.wertLaenge) != w) {
                aenderungen.append({f.anfang, f.ende, neuerWert(original, f, w)});
                beruehrt.append(*it);
                soll.insert(name, w);
            }
        } else if (!nurErsetzen) {
            hinzu.append(QLatin1Char('<') + name + QLatin1Char(':') + QString::number(w.size()) + QLatin1Char('>') + w);
            soll.insert(name, w);
        }
    };
    // Every field of the name goes; one alone on its line with its line,
    // another with the blanks after it.
    auto entfernen = [&](const QString &name) {
        for (qsizetype i = 0; i < bisEor; ++i) {
            const AdifFeld &f = alt.liste[i].f;
            if (alt.liste[i].name != name)
                continue;
            beruehrt.append(i);
            // Blanks and line breaks before the field belong to the text
            // between fields only after the previous field's value, which may
            // end in them itself.
            const qsizetype davor = i > 0 ? alt.liste[i - 1].f.ende : 0;
            qsizetype a = f.anfang;
            while (a > davor && istLeer(original.at(a - 1)))
                --a;
            qsizetype e = f.ende;
            while (e < n && istLeer(original.at(e)))
                ++e;
            const bool zeilenAnfang = a == 0 || (a > davor && istZeilenende(original.at(a - 1)));
            if (zeilenAnfang && e < n && istZeilenende(original.at(e))) {
                aenderungen.append({a, e + zeilenendeAn(original, e).size(), QString()});
            } else if (zeilenAnfang && e == n && a > 0) {
                // The record's last line (a record without <EOR>) goes with the
                // line break before it, so the record still ends at its last
                // field as the loader cuts it.
                qsizetype v = a - 1;
                if (v > davor && original.at(v) == QLatin1Char('\n') && original.at(v - 1) == QLatin1Char('\r'))
                    --v;
                aenderungen.append({v, e, QString()});
            } else
                aenderungen.append({f.anfang, e, QString()});
        }
        soll.remove(name);
    };

    if (korrigiert.testFlag(Korrektur::Call))
        setzen(QStringLiteral("CALL"), wert(QStringLiteral("CALL")));
    if (korrigiert.testFlag(Korrektur::Datum)) {
        const QString datum = AdifDatum(wert(QStringLiteral("QSO_DATE")));
        setzen(QStringLiteral("QSO_DATE"), datum);
        setzen(QStringLiteral("QSO_DATE_OFF"), datum, true);
    }
    if (korrigiert.testFlag(Korrektur::UTC)) {
        const QString zeit = wert(QStringLiteral("TIME_ON"));
        setzen(QStringLiteral("TIME_ON"), zeit);
        setzen(QStringLiteral("TIME_OFF"), zeit, true);
    }
    if (korrigiert.testFlag(Korrektur::RST))
        setzen(QStringLiteral("RST_SENT"), wert(QStringLiteral("RST_SENT")));
    if (korrigiert.testFlag(Korrektur::Mode))
        setzen(QStringLiteral("MODE"), GrossBuchstaben(wert(QStringLiteral("MODE"))));
    const QString freq = wert(QStringLiteral("FREQ"));
    if (korrigiert.testFlag(Korrektur::MHz) && !freq.isEmpty() && schreibbar(freq)) {
        setzen(QStringLiteral("FREQ"), freq);
        // A band the record names that the frequency still lies in is right.
        const QString band = AdifBandAusMHz(freq.toDouble());
        if (band.isEmpty())
            entfernen(QStringLiteral("BAND"));
        else if (soll.value(QStringLiteral("BAND")).trimmed().compare(band, Qt::CaseInsensitive) != 0)
            setzen(QStringLiteral("BAND"), band);
    }
    if (korrigiert.testFlag(Korrektur::QSOvia))
        setzen(QStringLiteral("PROP_MODE"), AdifAusbreitung(wert(QStringLiteral("PROP_MODE"))));
    // The standard's route field: its QSL_SEND_VIA is a choice of B, D, E or M
    // and would not take a callsign.
    if (korrigiert.testFlag(Korrektur::QSLvia))
        setzen(QStringLiteral("QSL_VIA"), wert(QStringLiteral("QSL_SEND_VIA")));

    // Other loggers read the standard's name of the sent mark, this program
    // reads its own.
    for (const char *gruppe : {"", "EQSL_", "LOTW_"}) {
        const QString g = QLatin1String(gruppe);
        setzen(g + QLatin1String("QSL_RCVD"), wert(g + QLatin1String("QSL_RCVD")));
        setzen(g + QLatin1String("QSLRDATE"), AdifDatum(wert(g + QLatin1String("QSLRDATE"))));
        const QString gesendet = wert(g + QLatin1String("QSL_SEND"));
        if (gesendet == QLatin1String("Y"))
            setzen(g + QLatin1String("QSL_SENT"), gesendet);
        setzen(g + QLatin1String("QSL_SEND"), gesendet);
        setzen(g + QLatin1String("QSLSDATE"), AdifDatum(wert(g + QLatin1String("QSLSDATE"))));
    }
    if (aenderungen.isEmpty() && hinzu.isEmpty())
        return original;

    const Form form = formLesen(original, alt);
    // A hand-edited length that does not fit its value (it runs over the
    // <EOR> or past the end) makes the loader read the field's value up to the
    // next "<". Once the record has grown behind such a field, its length may
    // fit and swallow what follows, here or further on in the file; the new
    // fields go before it.
    qsizetype falsch = -1;
    for (qsizetype i = 0; i < bisEor && falsch < 0; ++i) {
        if (alt.liste[i].f.mitLaenge && !alt.liste[i].f.nachLaenge && !beruehrt.contains(i))
            falsch = i;
    }
    qsizetype stelle = n;
    QString text;
    if (falsch >= 0) {
        stelle = alt.liste[falsch].f.anfang;
        const qsizetype zeile = form.mehrzeilig ? zeilenAnfang(original, stelle) : -1;
        const QString einzug = zeile >= 0 ? original.mid(zeile, stelle - zeile) : QString();
        for (const QString &f : hinzu)
            text += zeile >= 0 ? f + form.zeilenende + einzug : f;
    } else if (!form.mehrzeilig) {
        // New fields go before the record's <EOR> (at the end when it has none).
        stelle = alt.eor >= 0 ? alt.liste[alt.eor].f.anfang : n;
        text = hinzu.join(QString());
    } else {
        // Where <EOR> starts its line (or the record ends with a line end),
        // the new lines go before that line; otherwise <EOR> stays on the line
        // of the last of them, as it was on the last field's.
        stelle = alt.eor >= 0 ? alt.liste[alt.eor].f.anfang : n;
        qsizetype k = stelle;
        while (k > 0 && istLeer(original.at(k - 1)))
            --k;
        const qsizetype vorher = bisEor > 0 ? alt.liste[bisEor - 1].f.ende : 0;
        const bool eigeneZeile = k > vorher && istZeilenende(original.at(k - 1));
        if (eigeneZeile)
            stelle = k;
        for (const QString &f : hinzu)
            text += eigeneZeile ? form.einzug + f + form.zeilenende : form.zeilenende + form.einzug + f;
    }
    aenderungen.append({stelle, stelle, text});
    const QString ergebnis = anwenden(original, aenderungen);

    // The merge holds when the loader reads the result as the record with the
    // new values, and finds it where it found the record. A change of a value
    // behind a hand-edited length may still make it read otherwise.
    const QList<AdifRecordStelle> records = recordsLesen(original);
    const QList<AdifRecordStelle> jetzt = recordsLesen(ergebnis);
    const bool ganz = records.size() == 1 && records[0].anfang == 5 && records[0].laenge == n;
    if (werteLesen(ergebnis, felderLesen(ergebnis)) == soll && jetzt.size() == records.size()
        && (!ganz || (jetzt[0].anfang == 5 && jetzt[0].laenge == ergebnis.size())))
        return ergebnis;
    if (gemischt)
        *gemischt = false;
    return original;
}
