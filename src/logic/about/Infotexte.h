#pragma once

#include <QString>

// The texts of the About window.
QString InfoFenstertitel();
// "Datei: Cardforge.exe  V 1.0.6": the program's title and version.
QString InfoVersionszeile(int major, int minor, int revision);
QString InfoBeschreibung();
// The three-line notice; the second and third lines start under the text after
// "Achtung :  " with as many blanks as span its width. Both widths are in
// twips in the window's font; 34 twips is a blank of the classic 8-point
// dialog font, too narrow for most fonts of a Linux desktop.
QString InfoHinweis(double breiteAchtungTwips, double breiteBlankTwips = 34);
