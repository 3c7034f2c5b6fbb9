#pragma once

#include "adif/AdifLesen.h"
#include "core/Zustand.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class Kartenvorschau;

// The QSL queue: the QSOs of the listed logs that wait for a paper QSL card,
// read from the files themselves, so building it never touches the log the
// browser has loaded, and never writes.

// Which QSOs wait for a card. Values are compared in any case.
enum class StapelFilter {
    Angefordert, // "angefordert": QSL_SENT is R (requested) or Q (queued)
    Erhalten,    // "erhalten, unbeantwortet": QSL_RCVD Y, no card sent
    Ungesendet,  // "alle ungesendeten": no card sent
};
// "No card sent": neither QSL_SENT nor the program's QSL_SEND is Y, and
// QSL_SENT is not I (the log says not to send one).

// One QSO of the queue: which record of which file, and the record as the log
// browser reads it.
struct StapelEintrag
{
    QString Datei;         // the log, as a canonical path
    QString Gelesen;       // the record's text exactly as the file holds it
    qint32 Vorkommen = 0;  // how many identical records come before it there
    AdifSatz Satz;         // SatzParsen of the record
    bool Erhalten = false; // QSL_RCVD is Y: the card says TNX, else PSE
};

struct QslStapel
{
    // By callsign, then date, then time; QSOs equal in all three stay in the
    // order of the file list and of their files.
    QList<StapelEintrag> Eintraege;
    // One German line for each file that could not be read.
    QStringList Fehler;
    // QSOs the filter takes that lack the callsign, the date or the time: the
    // log browser would not hand them over ("Eingaben nicht komplett!"), so no
    // card can be printed for them.
    int Unvollstaendig = 0;
};

// The files of an ADIF file list (each path followed by ";"), each once.
QStringList StapelDateien(const QString &AdifDatGes);

// The queue of the files: the QSOs the filter takes, and with a valid ab only
// those of that day or later (a QSO without a date is then left out).
QslStapel StapelAufbauen(const QStringList &dateien, StapelFilter filter, const QDate &ab = QDate());

// The QSO of an entry as the log browser hands it over with "&OK" after the
// record was shown and PSE (tnx false) or TNX chosen, with the card's PSE/TNX
// boxes when a card is given. nullopt for an incomplete QSO.
std::optional<QsoDaten> StapelQso(const StapelEintrag &e, bool tnx, const QDate &heute, Kartenvorschau *karte);
