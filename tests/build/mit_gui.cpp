// Uses the logic layer and Qt Gui only: compiles against cardforge_logic.
#include "core/Umgebung.h"
#include "layout/Kartenvorschau.h"

#include <QImage>

int kartenelemente()
{
    return static_cast<int>(Kartenvorschau().elemente().size());
}
