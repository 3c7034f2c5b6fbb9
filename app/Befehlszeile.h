#pragma once

#include <QStringList>

// The program's command line: the options besides the window, and their help.

// Every option of the program, in German, as "cardforge --help" prints it.
QString Hilfetext();

// Whether the arguments (without the program's name) ask for the command
// line instead of the window.
bool OhneFenster(const QStringList &argumente);

// Runs the command line: "--help", or the QSL queue ("--queue") without any
// window and without a display. Needs the application object. Returns the
// exit code: 0, or 1 with the reason on standard error.
int BefehlszeileAusfuehren(const QStringList &argumente);
