#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

class Kartenvorschau;
struct QsoDaten;

// The QSO fields both log windows show alike.
struct QsoEingabefelder
{
    QString Call;
    QString Datum;
    QString UTC;
    QString RST;
    QString Mode;
    QString MHz;
    QString QSOvia;
    QString RX;
    QString TX;
    QString Ant;
    QString Comment;
    QString QSLvia;
    QString Send;     // QSL sent date
    QString Rcvd;     // QSL received date
    bool Pse = false; // Option1 "PSE"; otherwise Option2 "TNX"

    // "PSE" asks for a card, so none has come in; "TNX" answers one, received
    // today unless a date is typed.
    void pseWaehlen();
    void tnxWaehlen(const QDate &heute);
};

// How the log windows turn what the user typed into the values of the current
// QSO.

// The QSO's values both windows take from their fields alike (report, mode,
// frequency, propagation, station and comment); call, date, time and route
// each window reads in its own way.
void GemeinsameFelderUebernehmen(QsoDaten &q, const QsoEingabefelder &felder);

// A date as "yyyymmdd", the form of the QSL dates.
QString DatumAlsYYYYMMDD(const QDate &datum);

// The QSO date field: a date as the user types it (21.05.2023, 2023/05/21, …)
// gives the date value; eight digits yyyymmdd that form a date give the text
// "yyyy/mm/dd"; anything else gives an empty text, which the windows treat as
// no date.
QVariant DatumAusEingabe(const QString &text);
bool DatumLeer(const QVariant &datum);

// The frequency field: "," or "." as decimal sign in any locale, rounded to
// the three decimals the windows work with; 0 when the text is no usable
// number.
float MHzAusEingabe(const QString &text);

// The station description a card prints: transmitter, then " Ant: " and the
// antenna. Without either nothing, so a card of a QSO without station data
// does not carry a lone "Ant:".
QString StationsText(const QString &tx, const QString &ant);

// The QSL wish of the card into the QSO and onto the card's PSE/TNX boxes.
// "PSE" asks for a card: sent when a sent date is typed, the received status
// stays as the QSO has it. "TNX" answers a received card: sent (today unless
// a date is typed; the field then shows it) and received as typed.
void QslWunschUebernehmen(QsoDaten &q, bool pse, QString &send, const QString &rcvd, const QDate &heute,
                          Kartenvorschau &karte);
