#pragma once

class QApplication;
class frmMain;
struct Umgebung;

// The names the settings and the desktop know the program by.
void AnwendungBenennen(QApplication &app);

// The program's start: creates the application state and the seams, runs the
// start-up steps, shows the main window and runs the event loop until it closes.
int Start(QApplication &app);

// Wires every menu command of the main window to the window or command that
// carries it out. Afterwards no menu entry is without a handler; in a debug
// build a missing one stops the start.
void BefehleAnbinden(Umgebung &umgebung, frmMain &haupt);
