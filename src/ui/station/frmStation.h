#pragma once

#include <QWidget>

class QLineEdit;
class QListWidget;

// "Setting: My Station": the transceiver and antenna for each band, stored
// under the band's name. "&Band OK" stores the shown band and keeps the window
// open; "&Abbrechen" hides it as it is; "&Schliessen" and the close box end
// it, so the next opening starts again with the band saved last.
class frmStation : public QWidget
{
    Q_OBJECT

public:
    frmStation();

    void Form_Load();
    void Command3_Click(); // "&Band OK"

private:
    void bandZeigen();

    QListWidget *m_liste1 = nullptr;
    QLineEdit *m_text1 = nullptr;
    QLineEdit *m_text2 = nullptr;
    bool m_laedt = false;
};
