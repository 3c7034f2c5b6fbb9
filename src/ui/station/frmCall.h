#pragma once

#include <QWidget>

class QLineEdit;

// "Setting: My Call": the station's own callsign, name, QTH, locator and
// address. The fields are read from the settings when the window is created;
// "&OK" stores them and "&Abbrechen" does not, and both only hide the window,
// so it shows the fields as they were left when it is opened again.
class frmCall : public QWidget
{
    Q_OBJECT

public:
    frmCall();

    void Form_Load();
    void Command1_Click(); // "&OK"
    void Command2_Click(); // "&Abbrechen"

private:
    QLineEdit *m_text[6] = {};
};
