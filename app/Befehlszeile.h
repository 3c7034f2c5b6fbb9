#pragma once

#include <QStringList>

// The program's command line: the options besides the window, and their help.

// Every option of the program, in German, as "cardforge --help" prints it.
QString Hilfetext();

// Whether the arguments (without the program's name) ask for the command
// line instead of the window: any option starting with "--" (an unknown one
// is refused there). Qt's own options (-platform, -display, ...) have one dash.
bool OhneFenster(const QStringList &argumente);

// Runs the command line: "--help", the QSL queue ("--queue") or the
// calibration card ("--calibration-card") without any window and without a
// display. Needs the application object. Returns the
// exit code: 0, or 1 with the reason on standard error.
int BefehlszeileAusfuehren(const QStringList &argumente);
