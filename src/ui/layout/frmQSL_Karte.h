#pragma once

#include "core/Umgebung.h"
#include "layout/Kartenlayout.h"

#include <QHash>
#include <QPointF>
#include <QSizeF>
#include <QWidget>
#include <array>
#include <optional>

class QCheckBox;
class QGridLayout;
class QLineEdit;
class QScrollArea;
class frmMain;

// The card layout editor "QSL-Karte einrichten": the card size, the 110 position
// entries Text3(0..109) and the flag boxes Check1..Check5. It applies the layout
// to the main window's card preview, stores it, and while it is the active window
// marks every item on the preview with its name and a frame.
//
// It lives hidden from start-up on, because its load step applies the stored
// layout, and its box "via" (flag 21) decides whether the QSO display puts
// "via " before the QSL route; it copies the box into the card preview's
// model (Kartenvorschau::viaMitdrucken) whenever it changes. "&OK" and
// "&Abbrechen" only hide it; the close box destroys it, and the next
// LayoutFenster() creates it again, which reloads and reapplies the stored layout.
class frmQSL_Karte : public QWidget
{
    Q_OBJECT

public:
    // Builds the controls with the layout a first run starts from; Form_Load()
    // then reads the stored one. Use LayoutFenster() rather than creating it.
    frmQSL_Karte(Umgebung &umgebung, frmMain &haupt);

    // Card size and stored lists into the state and the boxes, then apply.
    void Form_Load();
    // The apply; false when an entry was refused (the message has been shown and
    // the refused box has the focus).
    bool cmSetAll_Click();
    // OK: card size into the state, main window resized to the card, apply,
    // size and lists stored and the window hidden. A refused entry keeps the
    // window open for the correction and stores nothing.
    void Command2_Click();
    // Cancel: controls moved by hand on the preview since the window was
    // loaded or last applied go back where they were, and so do their x and y
    // entries; a card size that only a loaded sample put in effect goes back
    // too. Then marking off and hide. Nothing stored, and what an apply put on
    // the preview stays.
    void Command1_Click();
    // "&Beispiel laden": the sample card's layout into every box, its size
    // taking effect as with OK, its scan behind the preview (stored as the
    // card scan, like "&1:1 QSL-Scan einlesen"), then applied. The layout is
    // stored only by OK. Asks first when the boxes hold a layout of the
    // user's own.
    void cmdBeispiel_Click();
    // A card control moved by hand on the main window's preview: it lands on
    // the 0.1 mm grid on the card, and its x and y entries follow.
    void elementVerschieben(const QString &name, QPointF mm);
    // Marking on (1) or off (0) on the main window's preview.
    void MarkiereFelder(int modus);
    // A mouse button released over flag box Check1(index): its exclusive
    // partner is cleared.
    void Check1_MouseUp(int index);

    // Closed by the close box; it is on its way out and must not be used again.
    bool geschlossen() const { return m_geschlossen; }

    // The boxes as layout values, and back.
    Layoutwerte eingabe() const;
    void eingabeSetzen(const Layoutwerte &werte);

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *objekt, QEvent *event) override;

private:
    void aufbauen();
    // Entry box k; art (MassLinks to MassBreite) says whether it is an x, y,
    // height or width.
    QLineEdit *eintrag(int k, int art);
    QCheckBox *flagBox(const QString &gruppe, int i, const QString &text = QString());
    QWidget *gruppenRahmen(const QString &titel, const QString &hinweis, QGridLayout *&raster);
    void hauptfensterAnpassen();

    Umgebung &u;
    frmMain &m_haupt;
    QLineEdit *m_text1 = nullptr;
    QLineEdit *m_text2 = nullptr;
    std::array<QLineEdit *, AnzahlFelder> m_text3{};
    std::array<QCheckBox *, AnzahlAktiv1> m_check1{};
    std::array<QCheckBox *, AnzahlAktiv2> m_check2{};
    std::array<QCheckBox *, AnzahlAktiv3> m_check3{};
    std::array<QCheckBox *, AnzahlAktiv4> m_check4{};
    std::array<QCheckBox *, AnzahlAktiv5> m_check5{};
    QScrollArea *m_rollbereich = nullptr;
    Layoutwerte m_letzte;
    bool m_geschlossen = false;
    // Controls moved by hand and not yet applied: where they were before the
    // first move, and their x and y entries then.
    struct VorDemZiehen
    {
        float links;
        float oben;
        QString x;
        QString y;
    };
    QHash<QString, VorDemZiehen> m_gezogen;
    // The card size in effect before "&Beispiel laden", until OK or Cancel.
    std::optional<QSizeF> m_groesseVorBeispiel;
};

// The layout window of this main window: the existing one, or a new one created
// hidden, whose load step reads and applies the stored layout.
frmQSL_Karte *LayoutFenster(Umgebung &umgebung, frmMain &haupt);
// The existing one only; nullptr while there is none.
frmQSL_Karte *VorhandenesLayoutFenster(frmMain &haupt);

// Start-up: hooks the layout window into the main window (menu "&QSL-Karte
// einrichten", and before each QSO display the window itself). Start-up
// then creates it hidden with LayoutFenster(), which applies the stored layout
// to the card preview.
void LayoutfensterAnbinden(Umgebung &umgebung, frmMain &haupt);
