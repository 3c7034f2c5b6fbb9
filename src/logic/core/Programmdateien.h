#pragma once

#include <QString>
#include <QStringList>

// Files the program ships (the help document, the pencil pointer) lie beside the
// executable in a build folder and in <prefix>/share/cardforge once installed.

// Where a shipped file is looked for, in this order: beside the program, the
// installed data folder relative to the program (../share/cardforge from bin),
// then "cardforge" below each of the data folders (such as ~/.local/share,
// /usr/local/share, /usr/share).
QStringList ProgrammDateiOrte(const QString &name, const QString &programmOrdner, const QStringList &datenOrdner);
// The first of those places that holds the file; the place beside the program
// when none does.
QString ProgrammDateiFinden(const QString &name, const QString &programmOrdner, const QStringList &datenOrdner);
// The same for this program: its own folder and the desktop's data folders.
QString ProgrammDatei(const QString &name);
