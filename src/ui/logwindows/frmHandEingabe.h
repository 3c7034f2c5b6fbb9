#pragma once

#include "logbook/Handeingabe.h"

#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QRadioButton;
class frmMain;
struct Umgebung;

// The manual entry "QSO-Daten eingeben": one QSO typed by hand for the card,
// stored in a log only when none is loaded. Its logic is Handeingabe.
// "A&bbrechen" and the close box only hide it.
class frmHandEingabe : public QWidget
{
    Q_OBJECT

public:
    frmHandEingabe(Umgebung &umgebung, frmMain &haupt);

    void Form_Load();
    void Form_Activate();

    Handeingabe &eingabe() { return m_eingabe; }

protected:
    bool eventFilter(QObject *objekt, QEvent *event) override;

private:
    void aufbauen();
    void schritt(const std::function<void()> &f);
    void einlesen();
    void anzeigen();
    void annehmen();
    void abbrechen();

    frmMain &m_haupt;
    Handeingabe m_eingabe;
    bool m_zeigt = false;

    QLabel *m_label11 = nullptr;
    QLineEdit *m_text[15] = {};
    QRadioButton *m_option1 = nullptr;
    QRadioButton *m_option2 = nullptr;
};
