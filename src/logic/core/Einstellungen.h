#pragma once

#include <QString>

// The per-user settings store: an INI file Cardforge/Cardforge.ini in the user's
// configuration folder ($XDG_CONFIG_HOME, default ~/.config). Every value is text;
// keys are matched without regard to case, and are written as given.

// The path of the settings file as it is right now (follows $XDG_CONFIG_HOME).
QString EinstellungsDatei();

QString GetSetting(const QString &appName, const QString &section, const QString &key,
                   const QString &standard = QString());
// Returns false when the value could not be written; callers ignore it.
bool SaveSetting(const QString &appName, const QString &section, const QString &key, const QString &value);

// The program always uses application "Cardforge" and section "Settings".
QString Einstellung(const QString &key, const QString &standard = QString());
bool EinstellungSpeichern(const QString &key, const QString &value);
// The text of a number setting. A value edited by hand with an unquoted decimal
// comma (PrinterRandOben=-1,5), which the INI format splits into a list, is
// joined again with ",".
QString ZahlEinstellung(const QString &key, const QString &standard = QString());

// Numbers in the user's locale. A stored value that does not convert leaves the
// target as it was and returns false.
bool EinstellungLesen(const QString &key, float &ziel);
bool EinstellungLesen(const QString &key, qint16 &ziel);
void EinstellungSpeichern(const QString &key, float value);
void EinstellungSpeichernGanz(const QString &key, int value);

// Text form of a single-precision number as the store keeps it: the locale's
// decimal separator, up to seven significant digits, no grouping.
QString SingleAlsText(float value);
// Reads a number in the user's locale; a text written with "," as decimal
// separator is read correctly in any locale.
bool SingleAusText(const QString &text, float &ziel);
