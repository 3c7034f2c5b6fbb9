#include "SkriptDialoge.h"

DialogErgebnis SkriptDialoge::naechste(CommonDialog &dlg, QString *fehler, bool drucker)
{
    m_aufrufe.append(dlg);
    const Antwort a = m_antworten.isEmpty() ? Antwort() : m_antworten.takeFirst();
    switch (a.ergebnis) {
    case DialogErgebnis::Ok:
        if (drucker) {
            dlg.Orientation = a.werte.Orientation;
            dlg.PrinterName = a.werte.PrinterName;
            dlg.PaperSize = a.werte.PaperSize;
            dlg.PaperBin = a.werte.PaperBin;
        } else {
            dlg.FileName = a.werte.FileName;
        }
        break;
    case DialogErgebnis::Abgebrochen:
        if (!drucker && !dlg.CancelError)
            dlg.FileName.clear();
        break;
    case DialogErgebnis::Fehler:
        if (fehler)
            *fehler = a.fehler;
        break;
    }
    return a.ergebnis;
}
