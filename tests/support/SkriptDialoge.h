#pragma once

#include "TestUmgebung.h"
#include "core/CommonDialog.h"

// Answers file and printer dialogs from a script and keeps what each call was
// given. An unscripted dialog counts as cancelled.
class SkriptDialoge : public Dialoge
{
public:
    struct Antwort
    {
        DialogErgebnis ergebnis = DialogErgebnis::Abgebrochen;
        CommonDialog werte; // the properties the user's choice sets
        QString fehler;
    };

    DialogErgebnis ShowOpen(CommonDialog &d, QString *fehler = nullptr) override { return naechste(d, fehler, false); }
    DialogErgebnis ShowPrinter(CommonDialog &d, QString *f = nullptr) override { return naechste(d, f, true); }
    void datei(const QString &p)
    {
        m_antworten.append({DialogErgebnis::Ok, {}, {}}), m_antworten.last().werte.FileName = p;
    }
    void abbrechen() { m_antworten.append(Antwort()); }
    void antworte(const Antwort &a) { m_antworten.append(a); }
    const QList<CommonDialog> &aufrufe() const { return m_aufrufe; }

private:
    DialogErgebnis naechste(CommonDialog &dlg, QString *fehler, bool drucker)
    {
        m_aufrufe.append(dlg);
        const Antwort a = m_antworten.isEmpty() ? Antwort() : m_antworten.takeFirst();
        if (a.ergebnis == DialogErgebnis::Ok && drucker) {
            std::tie(dlg.Orientation, dlg.PrinterName, dlg.PaperSize, dlg.PaperBin) =
                std::tie(a.werte.Orientation, a.werte.PrinterName, a.werte.PaperSize, a.werte.PaperBin);
        } else if (a.ergebnis == DialogErgebnis::Ok) {
            dlg.FileName = a.werte.FileName;
        } else if (a.ergebnis == DialogErgebnis::Abgebrochen && !drucker && !dlg.CancelError) {
            dlg.FileName.clear();
        } else if (a.ergebnis == DialogErgebnis::Fehler && fehler) {
            *fehler = a.fehler;
        }
        return a.ergebnis;
    }
    QList<Antwort> m_antworten;
    QList<CommonDialog> m_aufrufe;
};
