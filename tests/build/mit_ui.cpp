// A window of the UI layer in the logic layer: must not compile against cardforge_logic.
#include "mainwindow/frmMain.h"
