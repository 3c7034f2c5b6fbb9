#pragma once

struct Umgebung;
class frmMain;

// Hooks the printing commands into the main window's menu: "QSL-Karte
// &bedrucken...", "&Drucker einrichten...", "Drucker-&Randkorrektur",
// "&Kalibrierkarte drucken", the two printer reports and the two picture
// commands. Call once after the main window exists; the state's objZiel must
// live as long as the window.
void DruckenAnbinden(Umgebung &umgebung, frmMain &haupt);
