#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <optional>

struct Zustand;
class Meldungen;

// Shared text, number, date and band helpers. Positions are 1-based like the rest
// of the program; "the user's locale" is QLocale() at the time of the call.

// Band name of a frequency in MHz; bounds compared in single precision.
QString BandAusMHz(float mhz);

// The text with its first "," replaced by ".".
QString KommaZuPunkt(const QString &text);
// The text with its first "." replaced by ":".
QString PunktZuDoppelpunkt(const QString &text);

// The number a text starts with, "," or "." as its decimal sign in every
// locale; no number gives 0.
double ZahlAusText(const QString &text);

// Millimetres and MHz as the user types them or the settings keep them, read
// alike in every locale: "," and "." are both the decimal sign and never group
// digits; a sign may lead and blanks may surround the number. Anything else
// ("1.234,5", "12 mm", "1e3", an empty text) is no number.
std::optional<double> DezimalzahlAusText(const QString &text);

// A text read as a date the way the user would type it: the locale's short date
// (21.05.2023 in German), yyyy/mm/dd, yyyy-mm-dd, and two-digit years. Anything
// else, and impossible days such as 32.13.2023, is no date.
std::optional<QDate> DatumAusText(const QString &text);
// A date value (QDate) or a date text as "yyyymmdd"; empty when it is no date.
QString DatumYYYYMMDD(const QVariant &wert);

// A callsign without its portable prefix and suffix (only meaningful with "/").
QString GrundRufzeichen(const QString &call);

double LocBreite(const QString &loc);
double LocLaenge(const QString &loc);
double ArcCos(double x);
// Great-circle distance between two six-character locators, formatted "####0.0##".
QString EntfernungKm(const QString &loc1, const QString &loc2);
// The same distance as a number of kilometres, before it is rounded to text.
double EntfernungKmWert(const QString &loc1, const QString &loc2);

// Position of the last occurrence of find, counted from the end of text (1 = last
// character); 0 when not found.
int InStrRueck(const QString &text, const QString &find);

// True when path names an existing normal file.
bool DateiVorhanden(const QString &path);

// Entry i of a ";"-terminated file list; sets AdifDatLast and AdifDatIndex.
QString AdifDateiAusListe(Zustand &z, Meldungen &meldungen, const QString &liste, int i);

// The ADIF file list separates its paths with ";" and has no escape, so a path
// holding one cannot be used. True when none of the paths holds one; otherwise
// the user is told which cannot be used, and the result is false.
bool PfadeOhneStrichpunkt(Meldungen &meldungen, const QStringList &pfade);

// The desktop's program for a document, or empty text when there is none.
QString ProgrammFuerDatei(const QString &dokument);
// Starts program with the document as its one argument, never through a shell.
// Returns false with a German description in *fehler when it could not start.
// A desktop opener starts even when no program is registered for the
// document's type and gives up only then: gescheitert is called when the
// program ends with a failure soon after its start.
bool StarteMitDatei(const QString &programm, const QString &dokument, QString *fehler = nullptr,
                    const std::function<void()> &gescheitert = {});
