#pragma once

#include "logbook/Logbrowser.h"

#include <QWidget>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class frmMain;
struct Umgebung;

// The log browser "ADIF-QSO-Daten": one record of the listed ADIF files at a
// time, editable, with stepping, search and the hand-over of the QSO to the
// main window. Its logic is Logbrowser; the window shows its fields and
// passes the user's edits and clicks on. "A&bbrechen" and the close box only
// hide it.
class frmADIF : public QWidget
{
    Q_OBJECT

public:
    frmADIF(Umgebung &umgebung, frmMain &haupt);

    // The load step; false when there is no ADIF file and the window must go.
    bool Form_Load();
    // The activation step ("TNX", caption of the file).
    void Form_Activate();

    Logbrowser &browser() { return m_browser; }

protected:
    bool eventFilter(QObject *objekt, QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void aufbauen();
    QLineEdit *feld(const char *name);
    // The fields into the logic, the step, the logic's state back on screen.
    void schritt(const std::function<void()> &f);
    void einlesen();
    void anzeigen();
    void uebergeben();
    void suchen();
    Suchart gewaehlteSuchart() const;

    frmMain &m_haupt;
    Logbrowser m_browser;
    bool m_zeigt = false;

    QGroupBox *m_frame9 = nullptr;
    QLabel *m_lbAdifDatei = nullptr;
    QLabel *m_lbZaehler = nullptr;
    QLabel *m_label11 = nullptr;
    QLineEdit *m_text[17] = {};
    QRadioButton *m_option1 = nullptr;
    QRadioButton *m_option2 = nullptr;
    QRadioButton *m_option3[3] = {};
    QCheckBox *m_chSend = nullptr;
    QCheckBox *m_chRcvd = nullptr;
};
