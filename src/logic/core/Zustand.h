#pragma once

#include <QFlags>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <array>
#include <memory>

class QObject;
class Zeichenziel;
struct AdifSuchtext;

// The current QSO: the one QSO the main window shows and the print command puts
// on a card. Datum holds either a date value (QDate) or the text as typed.
struct QsoDaten
{
    QString Call;
    QVariant Datum = QString();
    QString UTC;
    QString RST;
    QString Mode;
    float MHz = 0.0f;
    QString QSOvia;
    QString PseTnx = QStringLiteral("___  ----");
    QString RX;
    QString TX;
    QString ANT;
    QString Comment;
    QString RIG;
    QString QSLvia;
    QString QslSDate;
    QString QslRDate;
    bool QslSent = false;
    bool QslRcvd = false;
    QString QslMedium;
};

// The QSO fields a user can correct in the log browser before handing a QSO
// over. When a printed QSO is merged back into its record, only corrected
// fields replace what the log says.
enum class Korrektur : unsigned {
    Call = 0x01,
    Datum = 0x02,
    UTC = 0x04,
    RST = 0x08,
    Mode = 0x10,
    MHz = 0x20,
    QSOvia = 0x40,
    QSLvia = 0x80,
};
Q_DECLARE_FLAGS(Korrekturen, Korrektur)
Q_DECLARE_OPERATORS_FOR_FLAGS(Korrekturen)

// A record that printing changed and that is not in its file yet: the file is
// patched right after the card, and a change that could not be written waits
// for the next print or the program end. So the change has to outlive loading
// other files, and it has to find its record again in a file another logger
// may have extended meanwhile.
struct AdifAenderung
{
    QString Datei;        // the file the record was read from (canonical path)
    QString Gelesen;      // the record exactly as read from that file
    qint32 Vorkommen = 0; // how many identical records come before it in the file
    QString Zeile;        // what replaces it
    qint32 Index = -1;    // its place in AdifRecords while its file is loaded, else -1
};

// The application state shared by every window for the whole run. Members are
// public and named as the rest of the program refers to them.
struct Zustand
{
    QObject *fMainForm = nullptr;
    Zeichenziel *objZiel = nullptr;
    QsoDaten AktQSO;
    static inline const QString CrLf = QStringLiteral("\r\n");
    float RandOben = 0.0f;
    float RandLinks = 0.0f;
    QString AdifDatei;
    // The records of the file AdifRecordsDatei, as read (not upper-cased),
    // or as merged after printing.
    QStringList AdifRecords = QStringList(51);
    QString AdifRecordsDatei;
    // The loaded file's bytes with the place of each record, for the search.
    std::shared_ptr<AdifSuchtext> AdifRecordsText;
    // Changed records of every file loaded during the run that are not written
    // into their files yet.
    QList<AdifAenderung> AdifAenderungen;
    QString AdifDatGes;
    qint32 AdifDatLast = 0;
    qint32 AdifDatIndex = 0;
    qint32 AdifRecordIndex = 0;
    QString AktQsoAdif;
    // What the user corrected in the log browser before handing AktQSO over.
    Korrekturen AktQsoKorrigiert;
    // The file whose record AdifRecordIndex names when the log browser handed
    // AktQSO over (AdifRecordsDatei at that moment); empty for a QSO typed by
    // hand or when no log was loaded. Printing marks a log record only then.
    QString AktQsoDatei;
    // That record's text as its file holds it: as read at the hand-over, and
    // as printing wrote it once the mark is in the file. A reload that finds
    // another text there means the file changed under the record.
    QString AktQsoSatz;
    qint16 DrFormat = 0;
    qint16 DrGroesse = 512;
    qint16 DrBehaelter = 4;
    float QSLWidth = 140.0f;
    float QSLHeight = 90.0f;
    std::array<qint16, 3> ChkIndex{0, 0, 0};

    // Clears the current QSO to its start values and forgets which record it
    // came from.
    void AktQsoLeeren();
};
