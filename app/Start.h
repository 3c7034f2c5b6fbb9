#pragma once

class QApplication;
class QString;
class frmMain;
struct Umgebung;

// Names the application (for its settings and desktop entry) and installs
// Qt's German translation, so that Qt's own texts (file and print dialogs,
// standard buttons, the entry boxes' context menus) are German like the rest
// of the program, whatever the user's locale.
void AnwendungEinrichten(QApplication &app);

// The program's start: creates the application state and the seams, runs the
// start-up steps, shows the main window and runs the event loop until it closes.
int Start(QApplication &app);

// Wires every menu command of the main window to the window or command that
// carries it out. Afterwards no menu entry is without a handler; in a debug
// build a missing one stops the start.
void BefehleAnbinden(Umgebung &umgebung, frmMain &haupt);
