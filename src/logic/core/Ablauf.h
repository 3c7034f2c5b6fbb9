#pragma once

#include <QList>
#include <QString>
#include <functional>

class Meldungen;

// One step of a procedure whose failures the user decides on. A step reports a
// failure by throwing; the text of the exception is shown to the user.
using Schritt = std::function<void()>;

// Runs the steps in order. A failing step shows its description under the title
// "Problem" with Abort, Retry and Ignore: Abort stops (returns false), Retry runs
// the step again, Ignore goes on with the next step.
bool SchritteAusfuehren(const QList<Schritt> &schritte, Meldungen &meldungen);
