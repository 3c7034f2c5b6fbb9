#pragma once

#include "core/Umgebung.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
struct KalibrierVorschlag;

// "Druckerrand-Korrektur": the top (Text2) and left (Text1) margin corrections
// in millimetres. "&OK" checks and stores them (DruckrandUebernehmen) and
// closes the window when they are 0 or below; "&Abbrechen" (or the close box)
// closes it and brings back the corrections it found when it opened, so a
// refused value is never the one the program goes on with. Modeless; closing
// destroys it.
//
// Below, Text3 and Text4 take where the top-left crosshair of the printed
// calibration card landed; Label8 shows the correction that follows, or why
// there is none, as they are typed, and "&Übernehmen" (Command3) puts it into
// Text2 and Text1, to be stored with "&OK".
class frmDruckRand : public QWidget
{
    Q_OBJECT

public:
    explicit frmDruckRand(Umgebung &umgebung, QWidget *parent = nullptr);

    // The current corrections into the text boxes.
    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

    // Shows the one margin window, creating (and loading) it when it is not open.
    static frmDruckRand *zeigen(Umgebung &umgebung, QWidget *hauptfenster);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    KalibrierVorschlag vorschlag() const;
    void messungZeigen();

    Umgebung &u;
    float m_obenVorher = 0.0f;
    float m_linksVorher = 0.0f;
    bool m_angenommen = false;
    QLineEdit *m_text1 = nullptr;
    QLineEdit *m_text2 = nullptr;
    QLineEdit *m_text3 = nullptr;
    QLineEdit *m_text4 = nullptr;
    QLabel *m_label8 = nullptr;
    QPushButton *m_command3 = nullptr;
};
