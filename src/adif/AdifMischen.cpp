#include "adif/AdifMischen.h"

#include "adif/AdifFormat.h"

#include <QHash>
#include <QList>
#include <QSet>
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

QSet<QString> qslFelder()
{
    QSet<QString> namen{QStringLiteral("QSL_SEND_VIA")};
    for (const char *gruppe : {"", "EQSL_", "LOTW_"}) {
        for (const char *rest : {"QSL_RCVD", "QSLRDATE", "QSL_SEND", "QSLSDATE"})
            namen.insert(QLatin1String(gruppe) + QLatin1String(rest));
    }
    return namen;
}

QStringList korrigierteFelder(Korrekturen k)
{
    QStringList namen;
    if (k.testFlag(Korrektur::Call))
        namen << QStringLiteral("CALL");
    if (k.testFlag(Korrektur::Datum))
        namen << QStringLiteral("QSO_DATE") << QStringLiteral("QSO_DATE_OFF");
    if (k.testFlag(Korrektur::UTC))
        namen << QStringLiteral("TIME_OFF") << QStringLiteral("TIME_ON");
    if (k.testFlag(Korrektur::RST))
        namen << QStringLiteral("RST_SENT");
    if (k.testFlag(Korrektur::Mode))
        namen << QStringLiteral("MODE");
    if (k.testFlag(Korrektur::MHz))
        namen << QStringLiteral("FREQ") << QStringLiteral("BAND");
    if (k.testFlag(Korrektur::QSOvia))
        namen << QStringLiteral("PROP_MODE");
    return namen;
}

bool istEnde(const QString &name)
{
    return name == QLatin1String("EOR") || name == QLatin1String("EOH");
}

} // namespace

QString AdifSatzMischen(const QString &original, const QString &gebaut, Korrekturen korrigiert)
{
    if (original.isEmpty())
        return gebaut;
    const QList<Feld> alt = felderLesen(original);
    const QList<Feld> neu = felderLesen(gebaut);

    QSet<QString> ersetzend = qslFelder();
    for (const QString &name : korrigierteFelder(korrigiert))
        ersetzend.insert(name);

    // Only the first field of a name counts, as for the reader; the first
    // <EOR> ends the record.
    QHash<QString, qsizetype> erstes;
    qsizetype eor = -1;
    for (qsizetype i = 0; i < alt.size(); ++i) {
        if (!erstes.contains(alt[i].name))
            erstes.insert(alt[i].name, i);
        if (eor < 0 && alt[i].name == QLatin1String("EOR"))
            eor = i;
    }

    QList<Aenderung> aenderungen;
    QString hinzu;
    auto ersetzen = [&](const Feld &f, const QString &wert) {
        if (QStringView(original).mid(f.wertAnfang, f.wertLaenge) != wert)
            aenderungen.append({f.anfang, f.ende, neuerWert(original, f, wert)});
    };

    QHash<QString, QString> gesetzt;
    for (const Feld &b : neu) {
        // Only the first field of a name counts in the built line too: a second
        // one would replace the same field of the original again, over text
        // the first replacement had already moved.
        if (istEnde(b.name) || gesetzt.contains(b.name))
            continue;
        const QString wert = gebaut.mid(b.wertAnfang, b.wertLaenge);
        gesetzt.insert(b.name, wert);
        const auto it = erstes.constFind(b.name);
        if (it == erstes.constEnd())
            hinzu += gebaut.mid(b.anfang, b.ende - b.anfang);
        else if (ersetzend.contains(b.name))
            ersetzen(alt[*it], wert);
    }

    // Other loggers read the standard's names for the sent mark.
    const std::pair<const char *, const char *> standard[] = {
        {"QSL_SEND", "QSL_SENT"},
        {"EQSL_QSL_SEND", "EQSL_QSL_SENT"},
        {"LOTW_QSL_SEND", "LOTW_QSL_SENT"},
    };
    for (const auto &[eigen, norm] : standard) {
        const auto it = erstes.constFind(QLatin1String(norm));
        if (it != erstes.constEnd() && gesetzt.value(QLatin1String(eigen)) == QLatin1String("Y"))
            ersetzen(alt[*it], QStringLiteral("Y"));
    }

    if (!hinzu.isEmpty()) {
        const qsizetype stelle = eor >= 0 ? alt[eor].anfang : original.size();
        aenderungen.append({stelle, stelle, hinzu});
    }
    std::sort(aenderungen.begin(), aenderungen.end(),
              [](const Aenderung &a, const Aenderung &b) { return a.anfang > b.anfang; });
    QString ergebnis = original;
    for (const Aenderung &a : aenderungen)
        ergebnis.replace(a.anfang, a.ende - a.anfang, a.text);
    return ergebnis;
}
