#pragma once

#include "core/CommonDialog.h"
#include "core/Meldungen.h"
#include "core/Zustand.h"

// What every window and command works with: the application state and the
// platform seams it shows messages and dialogs through.
struct Umgebung
{
    Zustand &z;
    Meldungen &meldungen;
    Dialoge &dialoge;
};
