#pragma once

class QApplication;

// The program's start: creates the application state and the seams, runs the
// start-up steps, shows the main window and runs the event loop until it closes.
int Start(QApplication &app);
