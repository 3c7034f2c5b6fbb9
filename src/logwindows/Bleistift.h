#pragma once

#include <QCursor>
#include <QStringList>
#include <optional>

// The pencil pointer over the comment labels of the log windows, from the icon
// file "Bleistift.ICO". The file is looked for in the current folder first and
// then beside the program, which ships its own. Without a readable file the
// labels keep the normal pointer.
QStringList BleistiftOrte();
// The first of the folders holding a readable icon file; the pointer's tip is
// the icon's bottom-left corner.
std::optional<QCursor> BleistiftZeiger(const QStringList &ordner = BleistiftOrte());
