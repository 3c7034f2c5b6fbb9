#pragma once

#include "SkriptDialoge.h"
#include "SkriptMeldungen.h"
#include "core/Umgebung.h"

// The program's state with scripted message boxes and file dialogs: what the
// code under test gets in place of the real windows' seams.
struct SkriptUmgebung
{
    Zustand z;
    SkriptMeldungen meldungen;
    SkriptDialoge dialoge;
    Umgebung u{z, meldungen, dialoge};
};
