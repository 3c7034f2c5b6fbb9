#pragma once

#include <QCursor>
#include <QStringList>
#include <optional>

// The pencil pointer over the comment labels of the log windows, from the icon
// file "Bleistift.ICO". The file is looked for in the current folder first,
// then where the program keeps the files it ships (beside the program in a
// build, share/cardforge once installed). Without a readable file the labels
// keep the normal pointer.
QStringList BleistiftDateien();
// The first readable icon of the files; the pointer's tip is the icon's
// bottom-left corner.
std::optional<QCursor> BleistiftZeiger(const QStringList &dateien = BleistiftDateien());
