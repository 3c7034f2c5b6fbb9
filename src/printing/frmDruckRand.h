#pragma once

#include "core/Umgebung.h"

#include <QWidget>

class QLineEdit;

// "Druckerrand-Korrektur": the top (Text2) and left (Text1) margin corrections
// in millimetres. "&OK" checks and stores them (DruckrandUebernehmen) and
// closes the window when they are 0 or below; "&Abbrechen" closes it and
// changes nothing. Modeless; closing destroys it.
class frmDruckRand : public QWidget
{
    Q_OBJECT

public:
    explicit frmDruckRand(Umgebung &umgebung, QWidget *parent = nullptr);

    // The current corrections into the text boxes.
    void Form_Load();
    void Command1_Click();
    void Command2_Click();

    // Shows the one margin window, creating (and loading) it when it is not open.
    static frmDruckRand *zeigen(Umgebung &umgebung, QWidget *hauptfenster);

private:
    Umgebung &u;
    QLineEdit *m_text1 = nullptr;
    QLineEdit *m_text2 = nullptr;
};
