// The ADIF field reader and the cutting of a log's bytes into lines, fed with
// whatever a file may hold. The whole input is a file; its first line is also
// a tag (and a path for the backup name), its second a record, its third a
// list NAME=VALUE|NAME=VALUE… of fields written in the program's format that
// must read back as written.

#include "FuzzHilfe.h"

#include "adif/AdifFormat.h"

#include <QSet>

namespace {

bool istLeer(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

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
        case 1: FUZZ_PRUEFEN(*ende == '\n' || (*ende == '\r' && (ende + 1 == b + daten.size() || ende[1] != '\n'))); break;
        case 2: FUZZ_PRUEFEN(ende[0] == '\r' && ende[1] == '\n'); break;
        default: FUZZ_PRUEFEN(false);
        }
        // The byte test the loader uses and the text test the search uses agree
        // with each other and with the plain rule.
        const QString text = QString::fromLatin1(b + z.anfang, z.laenge);
        const bool record = IstAdifRecord(b + z.anfang, z.laenge);
        FUZZ_PRUEFEN(record == IstAdifRecord(text));
        FUZZ_PRUEFEN(record == text.contains(QLatin1String("<CALL:"), Qt::CaseInsensitive));
        FUZZ_PRUEFEN(IstAdifKopfEnde(b + z.anfang, z.laenge)
                     == text.contains(QLatin1String("<EOH>"), Qt::CaseInsensitive));
        pos = z.anfang + z.laenge + z.endeLaenge;
    }
    FUZZ_PRUEFEN(pos == daten.size());
}

void feldPruefen(const QString &tag, const QString &record)
{
    const QString wert = AdifFeldWert(tag, record);
    if (tag.isEmpty() || !record.contains(tag))
        FUZZ_PRUEFEN(wert.isEmpty());
    if (wert.isEmpty())
        return;
    // The value is the end of the text between the tag and the next "<", without
    // the blanks that end it.
    FUZZ_PRUEFEN(!wert.contains(QLatin1Char('<')));
    FUZZ_PRUEFEN(!istLeer(wert.back()));
    const qsizetype p = record.indexOf(tag);
    const qsizetype q = record.indexOf(QLatin1Char('<'), p + 1);
    FUZZ_PRUEFEN(q > p && QStringView(record).mid(p + tag.size(), q - p - tag.size()).contains(wert));
}

// Fields as the writer makes them, with values a reader can take back: no "<"
// (that ends the text the reader looks at) and no trailing blank.
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
        QString name = QString::fromLatin1(stueck.left(gleich));
        for (const char c : {'<', '>', ':', '\r', '\n'})
            name.remove(QLatin1Char(c));
        QString wert = QString::fromLatin1(stueck.mid(gleich + 1));
        wert.remove(QLatin1Char('<'));
        while (!wert.isEmpty() && istLeer(wert.back()))
            wert.chop(1);
        if (name.isEmpty())
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
    for (const AdifZeile &z : zeilen)
        FUZZ_PRUEFEN(!IstAdifRecord(kopf.constData() + z.anfang, z.laenge));
    FUZZ_PRUEFEN(IstAdifKopfEnde(kopf.constData() + zeilen.last().anfang, zeilen.last().laenge));
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
    const QString tag = QString::fromLatin1(t.at(0));
    const QString record = QString::fromLatin1(t.at(1));
    feldPruefen(tag, record);
    feldPruefen(GrossBuchstaben(tag), GrossBuchstaben(record));
    schreibenLesen(t.at(2));
    namenPruefen(QFile::decodeName(t.at(0)));

    // Upper case keeps every position: one character for one.
    FUZZ_PRUEFEN(GrossBuchstaben(record).size() == record.size());
    return 0;
}
