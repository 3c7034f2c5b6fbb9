#include "adif/AdifMischen.h"

#include "adif/AdifFormat.h"
#include "adif/AdifWerte.h"

#include <QHash>
#include <QList>
#include <algorithm>

namespace {

struct Feld
{
    qsizetype anfang = 0;     // the "<"
    qsizetype ende = 0;       // just after the value
    qsizetype nameLaenge = 0; // the name starts after the "<"
    qsizetype typAnfang = -1; // the type indicator after the second ":", if any
    qsizetype typLaenge = 0;
    qsizetype wertAnfang = 0;
    qsizetype wertLaenge = 0;
    QString name; // upper case
};

bool namensZeichen(QChar c)
{
    switch (c.unicode()) {
    case '<':
    case '>':
    case ':':
    case ',':
    case '{':
    case '}':
        return false;
    default:
        return !c.isSpace();
    }
}

// The fields of a line by the ADIF rules: "<NAME:LENGTH[:TYPE]>" followed by
// LENGTH characters, or "<NAME>" without a value. A "<" that starts no
// well-formed field (a length running past the line, no ">") is plain text.
QList<Feld> felderLesen(const QString &zeile)
{
    QList<Feld> felder;
    const qsizetype n = zeile.size();
    qsizetype i = zeile.indexOf(QLatin1Char('<'));
    while (i >= 0 && i < n) {
        qsizetype j = i + 1;
        while (j < n && namensZeichen(zeile.at(j)))
            ++j;
        Feld f;
        f.anfang = i;
        f.nameLaenge = j - i - 1;
        bool gut = false;
        if (f.nameLaenge > 0 && j < n && zeile.at(j) == QLatin1Char('>')) {
            f.wertAnfang = j + 1;
            f.ende = j + 1;
            gut = true;
        } else if (f.nameLaenge > 0 && j < n && zeile.at(j) == QLatin1Char(':')) {
            qsizetype k = j + 1;
            qsizetype laenge = 0;
            bool ziffern = false;
            while (k < n && zeile.at(k) >= QLatin1Char('0') && zeile.at(k) <= QLatin1Char('9')) {
                ziffern = true;
                if (laenge <= n)
                    laenge = laenge * 10 + (zeile.at(k).unicode() - '0');
                ++k;
            }
            if (ziffern && k < n && zeile.at(k) == QLatin1Char(':')) {
                f.typAnfang = k + 1;
                ++k;
                while (k < n && zeile.at(k).isLetter())
                    ++k;
                f.typLaenge = k - f.typAnfang;
            }
            if (ziffern && k < n && zeile.at(k) == QLatin1Char('>') && laenge <= n - (k + 1)) {
                f.wertAnfang = k + 1;
                f.wertLaenge = laenge;
                f.ende = f.wertAnfang + laenge;
                gut = true;
            }
        }
        if (!gut) {
            i = zeile.indexOf(QLatin1Char('<'), i + 1);
            continue;
        }
        f.name = GrossBuchstaben(zeile.mid(i + 1, f.nameLaenge));
        felder.append(f);
        i = zeile.indexOf(QLatin1Char('<'), f.ende);
    }
    return felder;
}

struct Aenderung
{
    qsizetype anfang;
    qsizetype ende;
    QString text;
};

// The original's field with a new value, keeping the name's spelling and the
// type indicator.
QString neuerWert(const QString &zeile, const Feld &f, const QString &wert)
{
    QString s = QLatin1Char('<') + zeile.mid(f.anfang + 1, f.nameLaenge) + QLatin1Char(':')
                + QString::number(wert.size());
    if (f.typAnfang >= 0)
        s += QLatin1Char(':') + zeile.mid(f.typAnfang, f.typLaenge);
    return s + QLatin1Char('>') + wert;
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

// How a record lays out its fields: on lines of their own or not, and if so
// with which line end and indentation, as the fields before <EOR> show it.
struct Form
{
    bool mehrzeilig = false;
    QString zeilenende;
    QString einzug;
};

Form formLesen(const QString &s, const QList<Feld> &felder, qsizetype anzahl)
{
    Form form;
    bool vomFeld = false;
    for (qsizetype i = 1; i < anzahl; ++i) {
        qsizetype bruch = -1;
        for (qsizetype k = felder[i].anfang - 1; k >= felder[i - 1].ende; --k) {
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
        const bool eor = felder[i].name == QLatin1String("EOR");
        if (eor && vomFeld)
            continue;
        vomFeld = vomFeld || !eor;
        const qsizetype anfang = s.at(bruch) == QLatin1Char('\n') && bruch > felder[i - 1].ende
                                         && s.at(bruch - 1) == QLatin1Char('\r')
                                     ? bruch - 1
                                     : bruch;
        form.zeilenende = zeilenendeAn(s, anfang);
        const QString vor = s.mid(bruch + 1, felder[i].anfang - bruch - 1);
        form.einzug = std::all_of(vor.cbegin(), vor.cend(), istLeer) ? vor : QString();
    }
    return form;
}

} // namespace

QString AdifSatzMischen(const QString &original, const QString &gebaut, Korrekturen korrigiert)
{
    if (original.isEmpty())
        return gebaut;
    const QList<Feld> alt = felderLesen(original);
    const QList<Feld> neu = felderLesen(gebaut);

    // The record ends at its first <EOR>; only the first field of a name
    // counts, as for the reader, in the record and in the built line.
    qsizetype eor = -1;
    QHash<QString, qsizetype> erstes;
    for (qsizetype i = 0; i < alt.size() && eor < 0; ++i) {
        if (alt[i].name == QLatin1String("EOR"))
            eor = i;
        else if (!erstes.contains(alt[i].name))
            erstes.insert(alt[i].name, i);
    }
    QHash<QString, QString> gebauteWerte;
    for (const Feld &b : neu) {
        if (!gebauteWerte.contains(b.name))
            gebauteWerte.insert(b.name, gebaut.mid(b.wertAnfang, b.wertLaenge));
    }
    auto wert = [&](const QString &name) { return gebauteWerte.value(name); };

    const qsizetype n = original.size();
    QList<Aenderung> aenderungen;
    QStringList hinzu;
    // A new value where the field stands, or a new field when the record has
    // none (unless it is only to be replaced). An empty value changes nothing.
    auto setzen = [&](const QString &name, const QString &w, bool nurErsetzen = false) {
        if (w.isEmpty())
            return;
        const auto it = erstes.constFind(name);
        if (it != erstes.constEnd()) {
            const Feld &f = alt[*it];
            if (QStringView(original).mid(f.wertAnfang, f.wertLaenge) != w)
                aenderungen.append({f.anfang, f.ende, neuerWert(original, f, w)});
        } else if (!nurErsetzen) {
            hinzu.append(QLatin1Char('<') + name + QLatin1Char(':') + QString::number(w.size()) + QLatin1Char('>')
                         + w);
        }
    };
    // Every field of the name goes; one alone on its line with its line,
    // another with the blanks after it.
    auto entfernen = [&](const QString &name) {
        for (qsizetype i = 0; i < (eor >= 0 ? eor : alt.size()); ++i) {
            const Feld &f = alt[i];
            if (f.name != name)
                continue;
            qsizetype a = f.anfang;
            while (a > 0 && istLeer(original.at(a - 1)))
                --a;
            qsizetype e = f.ende;
            while (e < n && istLeer(original.at(e)))
                ++e;
            if ((a == 0 || istZeilenende(original.at(a - 1))) && e < n && istZeilenende(original.at(e)))
                aenderungen.append({a, e + zeilenendeAn(original, e).size(), QString()});
            else
                aenderungen.append({f.anfang, e, QString()});
        }
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
    if (korrigiert.testFlag(Korrektur::MHz) && !freq.isEmpty()) {
        setzen(QStringLiteral("FREQ"), freq);
        // A band the record names that the frequency still lies in is right.
        const QString band = AdifBandAusMHz(freq.toDouble());
        const auto alterBand = erstes.constFind(QStringLiteral("BAND"));
        if (band.isEmpty())
            entfernen(QStringLiteral("BAND"));
        else if (alterBand == erstes.constEnd()
                 || original.mid(alt[*alterBand].wertAnfang, alt[*alterBand].wertLaenge).trimmed().compare(
                        band, Qt::CaseInsensitive)
                        != 0)
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

    if (!hinzu.isEmpty()) {
        const Form form = formLesen(original, alt, eor >= 0 ? eor + 1 : alt.size());
        qsizetype stelle = eor >= 0 ? alt[eor].anfang : n;
        QString text;
        if (!form.mehrzeilig) {
            text = hinzu.join(QString());
        } else {
            // Where <EOR> starts its line (or the record ends with a line
            // end), the new lines go before that line; otherwise <EOR> stays
            // on the line of the last of them, as it was on the last field's.
            qsizetype k = stelle;
            while (k > 0 && istLeer(original.at(k - 1)))
                --k;
            const qsizetype vorher = eor > 0 ? alt[eor - 1].ende : (eor < 0 && !alt.isEmpty() ? alt.last().ende : 0);
            const bool eigeneZeile = k > vorher && istZeilenende(original.at(k - 1));
            if (eigeneZeile)
                stelle = k;
            for (const QString &f : hinzu)
                text += eigeneZeile ? form.einzug + f + form.zeilenende : form.zeilenende + form.einzug + f;
        }
        aenderungen.append({stelle, stelle, text});
    }
    std::sort(aenderungen.begin(), aenderungen.end(),
              [](const Aenderung &a, const Aenderung &b) { return a.anfang > b.anfang; });
    QString ergebnis = original;
    for (const Aenderung &a : aenderungen)
        ergebnis.replace(a.anfang, a.ende - a.anfang, a.text);
    return ergebnis;
}
