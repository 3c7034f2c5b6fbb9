#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <initializer_list>

// The program's view of an ADIF file: a header up to <EOH>, then records, each
// a run of fields "<NAME:LENGTH>VALUE" closed by <EOR>. Files are bytes, one
// byte per character (Latin-1), so every byte comes back out as it went in.

// Upper case as the program compares tags and values: letters of Latin-1 only,
// one character for one character, so positions and lengths stay as they were
// (ß, ÿ and µ have no upper-case letter in Latin-1 and stay).
QString GrossBuchstaben(const QString &text);
QChar GrossBuchstabe(QChar c);

// One field: "<NAME:LENGTH[:TYPE]>VALUE" or "<NAME>". Positions count the
// characters of the text it was read from.
struct AdifFeld
{
    qsizetype anfang = 0;     // the "<"
    qsizetype nameLaenge = 0; // the name follows the "<"
    bool mitLaenge = false;   // "<NAME:" rather than "<NAME>"
    bool nachLaenge = false;  // well-formed, the value read by its declared length
    qsizetype wertAnfang = 0;
    qsizetype wertLaenge = 0;
    qsizetype ende = 0; // where reading goes on
};

// Reads the fields of a text left to right. The value of a field is the
// LENGTH characters after ">", as ADIF defines it, so it may hold "<" and line
// breaks. A length that runs past the text or over an <EOR> (a hand-edited
// file), and an opening "<NAME:" without a well-formed "LENGTH>", are read as
// one-line records always were: the value is the last LENGTH characters of the
// trimmed text up to the next "<" of the line, none when the line ends first,
// and reading goes on at that "<" or line end. A "<" that opens no field is
// text. Every character is looked at once.
class AdifFeldLeser
{
public:
    AdifFeldLeser(const char *daten, qsizetype laenge, qsizetype ab = 0);
    explicit AdifFeldLeser(QStringView text, qsizetype ab = 0);
    // The next field; false when none follows.
    bool naechstes(AdifFeld *feld);
    // True when the field's name is wort (upper-case ASCII letters) in any
    // case.
    bool heisst(const AdifFeld &feld, const char *wort) const;

private:
    const char *m_bytes = nullptr;
    const char16_t *m_text = nullptr;
    qsizetype m_laenge = 0;
    qsizetype m_pos = 0;
    qsizetype m_kleiner = -2;
};

// Field names to look for in a record: up to 32 names of up to 16 upper-case
// ASCII characters.
class AdifNamen
{
public:
    explicit AdifNamen(std::initializer_list<const char *> namen);
    // The number of the name (upper case, padded with zero bytes to sixteen
    // bytes), or -1.
    int nummer(const quint64 (&name)[2]) const;

private:
    static constexpr int kBits = 8;
    std::size_t fach(const quint64 (&name)[2]) const;
    quint64 m_faktor = 0;
    quint64 m_name[1 << kBits][2] = {};
    int m_nummer[1 << kBits];
};

// The value of the first field of each of the names in text (in any case),
// read as AdifFeldLeser reads; a name without a field gets a null view.
void AdifFelderLesen(QStringView text, const AdifNamen &namen, QStringView *werte);

// The value of one field of a record: tag is the opening of the field including
// "<" and ":" (for example "<CALL:"), compared exactly; only the first field of
// that name counts, and text inside another field's value is no field. A tag
// of another form, and a record without that field, give "".
QString AdifFeldWert(const QString &tag, const QString &record);

// Where a QSO record lies in a file's bytes.
struct AdifRecordStelle
{
    qsizetype anfang = 0;
    qsizetype laenge = 0;
};

// The QSO records of a file in file order. The header runs to the first <EOH>
// (any case) when the file starts with other text than a field or has <EOH>
// before its first "<CALL:"; otherwise there is none. A record runs from its
// first field to the end of its <EOR> (a well-formed field of that name),
// whatever line breaks lie inside, so
// several records may share a line; text before a record's first field and
// after its <EOR> is between the records and belongs to none. A record whose
// <EOR> is missing ends with the line of its last field before the line where
// a second CALL field begins, or before the end of the data. A record without
// CALL field is no QSO and is left out. Linear in the size.
QList<AdifRecordStelle> AdifRecordsTeilen(const char *daten, qsizetype laenge);

// A line of a file: its bytes without the line end, and the line end (CR LF, LF,
// CR, or none for a last line without one).
struct AdifZeile
{
    qsizetype anfang = 0;
    qsizetype laenge = 0;
    qsizetype endeLaenge = 0;
};

// Splits the bytes into lines at CR LF, LF and CR; linear in the size.
QList<AdifZeile> AdifZeilenTeilen(const QByteArray &daten);

// True when the text holds a CALL field ("<CALL:" in any case, read as a field).
bool IstAdifRecord(const char *daten, qsizetype laenge);
bool IstAdifRecord(const QString &text);

// The first place from ab on where text holds nadel when both are upper-cased
// (GrossBuchstabe), or -1. text holds Latin-1 characters only, as read from a
// file; nadel is upper case already, and a lower-case letter in it is found
// nowhere, as in upper-cased text.
qsizetype AdifTextFinden(QStringView text, qsizetype ab, QStringView nadel);

// The five header lines the program writes at the top of a file it creates,
// the first naming the file without its folder (a line break or "<"
// in the name becomes a blank, so the header never holds a field or a record).
QStringList AdifKopfZeilen(const QString &pfad);

// Bytes of lines as the program writes them: Latin-1, each line closed by CR LF.
QByteArray AdifZeilenBytes(const QStringList &zeilen);

// The name of a file's backup: the path without its last three characters,
// followed by "bak" (Logbook.adi gives Logbook.bak). A file name of three
// characters or less, and a file that already ends in "bak", get ".bak"
// appended instead, so the backup always lies in the same folder and is never
// the file itself.
QString SicherungsName(const QString &pfad);
