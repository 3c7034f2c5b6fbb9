// The ADIF field reader and the cutting of a log's bytes into lines, fed with
// whatever a file may hold. The whole input is a file; its first line is also
// a path for the backup name, its second a record, its third a list
// NAME=VALUE|NAME=VALUE… of fields written in the program's format that must
// read back as written.

#include "FuzzHilfe.h"

#include "adif/AdifFormat.h"

#include <QSet>

namespace {

void zeilenPruefen(const QByteArray &daten)
{
    const QList<AdifZeile> zeilen = AdifZeilenTeilen(daten);
    const char *b = daten.constData();
    qsizetype pos = 0;
    for (qsizetype i = 0; i < zeilen.size(); ++i) {
        const AdifZeile &z = zeilen.at(i);
        FUZZ_PRUEFEN(z.anfang == pos);
        FUZZ_PRUEFEN(z.laenge >= 0 && z.anfang + z.laenge + z.endeLaenge <= daten.size());
        for (qsizetype k = 0; k < z.laenge; ++k)
            FUZZ_PRUEFEN(b[z.anfang + k] != '\r' && b[z.anfang + k] != '\n');
        const char *ende = b + z.anfang + z.laenge;
        switch (z.endeLaenge) {
        case 0: FUZZ_PRUEFEN(i == zeilen.size() - 1 && z.anfang + z.laenge == daten.size()); break;
        case 1:
            FUZZ_PRUEFEN(*ende == '\n' || (*ende == '\r' && (ende + 1 == b + daten.size() || ende[1] != '\n')));
            break;
        case 2: FUZZ_PRUEFEN(ende[0] == '\r' && ende[1] == '\n'); break;
        default: FUZZ_PRUEFEN(false);
        }
        // The reader of bytes and the reader of text agree; a CALL field opens
        // with "<CALL:".
        const QString text = QString::fromLatin1(b + z.anfang, z.laenge);
        const bool record = IstAdifRecord(b + z.anfang, z.laenge);
        FUZZ_PRUEFEN(record == IstAdifRecord(text));
        FUZZ_PRUEFEN(!record || text.contains(QLatin1String("<CALL:"), Qt::CaseInsensitive));
        pos = z.anfang + z.laenge + z.endeLaenge;
    }
    FUZZ_PRUEFEN(pos == daten.size());
}

// The bytes and the text read field by field alike; every value lies in the
// text at its place, and the first field of a name is the one AdifFeldWert
// reads.
void felderPruefen(const QByteArray &daten)
{
    const QString text = QString::fromLatin1(daten);
    AdifFeldLeser bytes(daten.constData(), daten.size());
    AdifFeldLeser zeichen(text);
    AdifFeld a;
    AdifFeld b;
    QSet<QString> gesehen;
    qsizetype ende = 0;
    while (bytes.naechstes(&a)) {
        FUZZ_PRUEFEN(zeichen.naechstes(&b));
        FUZZ_PRUEFEN(a.anfang == b.anfang && a.nameLaenge == b.nameLaenge && a.mitLaenge == b.mitLaenge
                     && a.nachLaenge == b.nachLaenge && a.wertAnfang == b.wertAnfang && a.wertLaenge == b.wertLaenge
                     && a.ende == b.ende);
        // Read by its length, the value is as long as the field says and
        // holds no <EOR>.
        if (a.nachLaenge && a.mitLaenge) {
            const QString kopf = text.mid(a.anfang, a.wertAnfang - a.anfang);
            FUZZ_PRUEFEN(
                kopf.mid(a.nameLaenge + 2).section(QLatin1Char(':'), 0, 0).section(QLatin1Char('>'), 0, 0).toLongLong()
                == a.wertLaenge);
            FUZZ_PRUEFEN(a.ende == a.wertAnfang + a.wertLaenge);
            FUZZ_PRUEFEN(!text.mid(a.wertAnfang, a.wertLaenge).contains(QLatin1String("<EOR>"), Qt::CaseInsensitive));
        }
        FUZZ_PRUEFEN(a.anfang >= ende && daten[a.anfang] == '<' && a.nameLaenge > 0);
        FUZZ_PRUEFEN(a.wertAnfang > a.anfang + a.nameLaenge && a.wertAnfang + a.wertLaenge <= a.ende);
        FUZZ_PRUEFEN(a.ende <= daten.size());
        ende = a.ende;
        const QString tag = text.mid(a.anfang, a.nameLaenge + 2);
        if (a.mitLaenge && !gesehen.contains(tag)) {
            gesehen.insert(tag);
            FUZZ_PRUEFEN(AdifFeldWert(tag, text) == text.mid(a.wertAnfang, a.wertLaenge));
        }
    }
    FUZZ_PRUEFEN(!zeichen.naechstes(&b));
}

// Fields as the writer makes them read back as written, whatever the value
// holds but an <EOR>: "<" and line breaks included.
void schreibenLesen(const QByteArray &liste)
{
    QString record;
    QList<std::pair<QString, QString>> felder;
    QSet<QString> namen;
    // A few dozen fields are a record; more would only make this check slow.
    for (const QByteArray &stueck : liste.split('|').mid(0, 64)) {
        const qsizetype gleich = stueck.indexOf('=');
        if (gleich <= 0)
            continue;
        QString name;
        for (const QChar c : QString::fromLatin1(stueck.left(gleich))) {
            if (!c.isSpace() && !QStringLiteral("<>:,{}").contains(c))
                name += c;
        }
        const QString wert = QString::fromLatin1(stueck.mid(gleich + 1));
        if (name.isEmpty() || wert.contains(QLatin1String("<EOR"), Qt::CaseInsensitive))
            continue;
        record += QLatin1Char('<') + name + QLatin1Char(':') + QString::number(wert.size()) + QLatin1Char('>') + wert;
        if (!namen.contains(name)) {
            namen.insert(name);
            felder.append({name, wert});
        }
    }
    record += QStringLiteral("<EOR>");
    for (const auto &[name, wert] : felder)
        FUZZ_PRUEFEN(AdifFeldWert(QLatin1Char('<') + name + QLatin1Char(':'), record) == wert);
}

// The backup lies in the log's folder and is never the log itself; the header
// the rewrite puts on top stays five lines whatever the file is called.
void namenPruefen(const QString &pfad)
{
    const QString sicherung = SicherungsName(pfad);
    FUZZ_PRUEFEN(sicherung.compare(pfad, Qt::CaseInsensitive) != 0);
    const qsizetype trenner = qMax(pfad.lastIndexOf(QLatin1Char('/')), pfad.lastIndexOf(QLatin1Char('\\')));
    FUZZ_PRUEFEN(sicherung.left(trenner + 1) == pfad.left(trenner + 1));
    FUZZ_PRUEFEN(sicherung.indexOf(QLatin1Char('/'), trenner + 1) < 0);
    FUZZ_PRUEFEN(sicherung.indexOf(QLatin1Char('\\'), trenner + 1) < 0);

    const QByteArray kopf = AdifZeilenBytes(AdifKopfZeilen(pfad));
    const QList<AdifZeile> zeilen = AdifZeilenTeilen(kopf);
    FUZZ_PRUEFEN(zeilen.size() == 5);
    FUZZ_PRUEFEN(!kopf.left(zeilen.first().laenge).contains('<'));
    // The header holds no QSO, and the records after it are the file's.
    FUZZ_PRUEFEN(AdifRecordsTeilen(kopf.constData(), kopf.size()).isEmpty());
    const QByteArray log = kopf + "<CALL:5>Q1ABC<EOR>\r\n";
    const QList<AdifRecordStelle> records = AdifRecordsTeilen(log.constData(), log.size());
    FUZZ_PRUEFEN(records.size() == 1 && records[0].anfang == kopf.size() && records[0].laenge == 18);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzHilfe::einrichten();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *daten, size_t groesse)
{
    const QByteArray eingabe = FuzzHilfe::bytes(daten, groesse);
    zeilenPruefen(eingabe);

    const QByteArrayList t = FuzzHilfe::teile(eingabe, 3);
    const QString record = QString::fromLatin1(t.at(1));
    felderPruefen(eingabe);
    felderPruefen(t.at(1));
    schreibenLesen(t.at(2));
    namenPruefen(QFile::decodeName(t.at(0)));

    // Upper case keeps every position: one character for one.
    FUZZ_PRUEFEN(GrossBuchstaben(record).size() == record.size());
    return 0;
}
