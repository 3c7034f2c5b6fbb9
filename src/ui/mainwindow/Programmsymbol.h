#pragma once

#include <QIcon>
#include <QImage>

// The program's icon, a QSL card. The desktop gets it as cardforge.svg; the
// windows draw the same picture here, because Qt reads SVG files only with an
// image plugin that is not always installed.
QImage ProgrammsymbolBild(int groesse);
// The icon in the usual sizes from 16 to 256 pixels.
QIcon Programmsymbol();
