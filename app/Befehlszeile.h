#pragma once

#include <QString>
#include <QStringList>

// The program's command line. Without an option the main window opens;
// --help prints the German help, --calibration-card [--pdf FILE] prints the
// calibration card without a window. Arguments not starting with "--" are
// left to Qt (-platform, -display, ...).
struct Befehlszeile
{
    enum class Art { Fenster, Hilfe, Kalibrierkarte, Fehler };
    Art art = Art::Fenster;
    QString pdfDatei; // --pdf FILE
    QString fehler;   // why the line was not understood (Art::Fehler)
};

// argumente without the program's name.
Befehlszeile BefehlszeileLesen(const QStringList &argumente);

// What cardforge --help prints.
QString BefehlszeileHilfe();
