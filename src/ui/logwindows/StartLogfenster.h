#pragma once

class frmMain;
struct Umgebung;

// Start-up: hooks the log browser, the manual entry and the two station
// windows into the main window's menu ("&ADIF-Logbuch-Daten",
// "&Handeingabe", "My &Call", "My &Station"). Each window exists at most once:
// created with its load step on first use, shown again as it was left
// afterwards. They go with the main window.
void LogfensterAnbinden(Umgebung &umgebung, frmMain &haupt);
