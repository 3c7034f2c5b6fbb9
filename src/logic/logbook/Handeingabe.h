#pragma once

#include "logbook/Eingabewerte.h"

#include <QDate>
#include <QString>
#include <functional>

struct Umgebung;
class Kartenvorschau;

// The fields of the manual entry "QSO-Daten eingeben": Text1 … Text11 as in
// the log browser, QSLvia Text12, Send Text13, Rcvd Text14.
using Handfelder = QsoEingabefelder;

// What the window does after "&OK".
enum class Annahme {
    Verbergen,  // no callsign: as "A&bbrechen"
    Angehalten, // a message stopped it, or the user cancelled the storing
    NachVorne,  // the main window shows the QSO
};

// The manual QSO entry without its window. A QSO typed here is the current
// QSO for printing only: it never marks a record of a loaded log. When no log
// is loaded it may be stored in a file the user picks or creates; SWL reports
// are never stored.
class Handeingabe
{
public:
    explicit Handeingabe(Umgebung &u);

    Handfelder felder;
    std::function<QDate()> heute = [] { return QDate::currentDate(); };

    void laden();      // the window's load step
    void aktivieren(); // each time the window comes to the front
    void pseWaehlen();
    void tnxWaehlen();
    void kommentarKlick();    // Label11 clicked
    void callVerlassen();     // Text1 lost the focus
    void frequenzVerlassen(); // Text6 lost the focus

    // Command2 "&OK". "Falsches Datum!  " and "Eingaben nicht komplett!"
    // leave the current QSO and the card alone.
    Annahme annehmen(Kartenvorschau &karte);

private:
    Umgebung &u;
};
