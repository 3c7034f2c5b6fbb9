#pragma once

#include <QString>

// The texts of the About window.
QString InfoFenstertitel();
// "Datei: Cardforge.exe  V 1.0.6": the program's title and version.
QString InfoVersionszeile(int major, int minor, int revision);
QString InfoBeschreibung();
// The three-line notice; the second and third lines start under the text after
// "Achtung :  ", whose width in the window's font is given in twips.
QString InfoHinweis(double breiteAchtungTwips);
