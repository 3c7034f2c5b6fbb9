#pragma once

#include <QString>

// The explanation shown whenever a positive margin correction is met: at
// start-up, when a card is to be printed, and in the margin window.
QString RandkorrekturText();
