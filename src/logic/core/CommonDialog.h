#pragma once

#include <QString>

// The common file and printer dialogs. Callers fill the properties, call a show
// operation and read the results back, as with the system dialog control of the
// main window; tests replace the implementation with a scripted one.
struct CommonDialog
{
    // Flag values as the callers set them.
    static constexpr int cdlOFNHideReadOnly = 4;
    static constexpr int cdlOFNPathMustExist = 2048;
    static constexpr int cdlOFNCreatePrompt = 8192;
    static constexpr int cdlOFNExplorer = 524288;
    static constexpr int cdlOFNLongNames = 2097152;
    static constexpr int cdlPDPrintSetup = 64;
    // Cancelling a dialog with CancelError set is reported as this error number.
    static constexpr int cdlCancel = 32755;

    QString DialogTitle;
    // Pairs of description and patterns joined by "|", patterns joined by ";".
    QString Filter;
    QString FileName;
    // The folder a file dialog starts in; empty leaves it to the dialog.
    QString InitDir;
    int Flags = 0;
    bool CancelError = false;
    bool PrinterDefault = false;
    int Orientation = 0;
    // The printer chosen in the printer dialog (by name; empty for the default).
    QString PrinterName;
    int PaperSize = 0;
    int PaperBin = 0;
    // The card size in millimetres: the paper the printer dialog starts with
    // when PaperSize is one of the user-defined codes 256 and 512.
    double PaperWidth = 0.0;
    double PaperHeight = 0.0;
};

enum class DialogErgebnis { Ok, Abgebrochen, Fehler };

class Dialoge
{
public:
    virtual ~Dialoge() = default;
    // File dialog. Ok: FileName holds the chosen full path. Abgebrochen: with
    // CancelError set the caller treats it as the cancel error; without it
    // FileName is empty. Fehler: *fehler describes what went wrong.
    virtual DialogErgebnis ShowOpen(CommonDialog &dlg, QString *fehler = nullptr) = 0;
    // Printer set-up dialog: Orientation, PrinterName, PaperSize and PaperBin
    // come back with the user's choice (PrinterName empty: the system default;
    // PaperSize and PaperBin 0: the printer's own).
    virtual DialogErgebnis ShowPrinter(CommonDialog &dlg, QString *fehler = nullptr) = 0;
};
