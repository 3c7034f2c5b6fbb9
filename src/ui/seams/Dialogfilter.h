#pragma once

#include <QString>
#include <QStringList>

// Turns a file filter of the program's form ("ADIF Datei (*.adi;*.adx)|*.adi;*.adx|
// Alle Dateien (*.*)|*.*") into the name filters of a Qt file dialog. Patterns
// match without regard to case, so "*.adi" also offers LOG.ADI.
QStringList QtNameFilter(const QString &filter);
