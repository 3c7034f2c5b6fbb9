#pragma once

#include "core/Umgebung.h"
#include "layout/Kartenvorschau.h"
#include "printing/StapelDruck.h"

#include <QDialog>
#include <array>
#include <optional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;
class frmMain;

// "QSL-Stapel drucken": the QSOs of every listed log that wait for a card, as
// the chosen filter finds them, each row ticked and marked PSE or TNX; the
// ticked ones go out in one print job and are marked in their logs. Modeless.
// Selecting a row shows its card on the main window's preview while this
// window is active; the QSO F5 prints stays the one handed over last, and the
// preview shows it again once this window loses the focus.
class frmQslStapel : public QDialog
{
    Q_OBJECT

public:
    frmQslStapel(Umgebung &umgebung, frmMain &haupt);

    // Reads the logs anew with the filter and date chosen; every row ticked.
    void aufbauen();
    // "Alle" / "Keine": ticks or clears every row.
    void alleSetzen(bool an);
    // "&Drucken": the ticked rows in one job, then the marks; the list is
    // built anew afterwards.
    void drucken();
    // "&Abbrechen": ends a running job after the card being drawn.
    void abbrechen() { m_stopp = true; }
    // The ticked rows with their PSE/TNX choice, in the list's order.
    QList<StapelAuswahl> auswahl() const;
    bool drucktGerade() const { return m_druckt; }

protected:
    bool eventFilter(QObject *objekt, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void anzahlZeigen();
    void zeileUmschalten(int zeile, int spalte);
    void karteZeigen(int zeile);
    void vorschauZurueck();
    void druckzustand(bool druckend);

    Umgebung &u;
    frmMain &m_haupt;
    QComboBox *m_filter = nullptr;
    QCheckBox *m_abDatumAn = nullptr;
    QDateEdit *m_abDatum = nullptr;
    QTableWidget *m_liste = nullptr;
    QLabel *m_anzahl = nullptr;
    QLabel *m_hinweis = nullptr;
    QProgressBar *m_fortschritt = nullptr;
    QPushButton *m_alle = nullptr;
    QPushButton *m_keine = nullptr;
    QPushButton *m_drucken = nullptr;
    QPushButton *m_abbrechen = nullptr;
    QPushButton *m_schliessen = nullptr;
    QslStapel m_stapel;
    // The main window's preview before a row was shown on it.
    std::optional<Kartenvorschau> m_gemerkt;
    bool m_druckt = false;
    bool m_stopp = false;
};

// Wires "QSL-&Stapel drucken..." of the main window: the one window is created
// on first use, read anew and shown.
void QslStapelAnbinden(Umgebung &u, frmMain &hauptfenster);
