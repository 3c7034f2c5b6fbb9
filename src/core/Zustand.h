#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <array>

class QWidget;
class Zeichenziel;

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

// The application state shared by every window for the whole run. Members are
// public and named as the rest of the program refers to them.
struct Zustand
{
    QWidget *fMainForm = nullptr;
    Zeichenziel *objZiel = nullptr;
    QsoDaten AktQSO;
    static inline const QString CrLf = QStringLiteral("\r\n");
    float RandOben = 0.0f;
    float RandLinks = 0.0f;
    QString AdifDatei;
    QStringList AdifRecords = QStringList(51);
    QString AdifDatGes;
    qint32 AdifDatLast = 0;
    qint32 AdifDatIndex = 0;
    qint32 AdifRecordIndex = 0;
    QString AktQsoAdif;
    bool AdifGeaendert = false;
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
