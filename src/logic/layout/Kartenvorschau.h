#pragma once

#include <QImage>
#include <QList>
#include <QString>

// One control of the main window's card preview, as the card layout places it,
// the QSO display fills it and the card renderer prints it. Positions and sizes
// are millimetres on the card, kept in single precision exactly as the layout
// set them; the window only draws a pixel copy of them.
struct KartenElement
{
    enum class Art { Text, Kreuz, Bild };

    QString name; // the control's name, e.g. "lbCall" or "Check1(4)"
    Art art = Art::Text;
    QString text; // caption
    float links = 0.0f;
    float oben = 0.0f;
    float hoehe = 0.0f;
    float breite = 0.0f;
    bool sichtbar = true;
    bool gesetzt = false; // a tick box whose value is 1
    QString schriftName;
    float schriftGroesse = 8.25f;
    bool fett = true;
    bool rahmen = false; // the layout editor's marking frame
};

// The card controls of the main window as plain data.
class Kartenvorschau
{
public:
    // All controls with their fonts and start captions, placed at 0.
    Kartenvorschau();

    KartenElement &operator[](const QString &name);
    const KartenElement &operator[](const QString &name) const;
    KartenElement *finde(const QString &name);
    const KartenElement *finde(const QString &name) const;
    QList<KartenElement> &elemente() { return m_elemente; }
    const QList<KartenElement> &elemente() const { return m_elemente; }

    // Element name of box i of a tick-box group, e.g. box(1, 4) == "Check1(4)".
    static QString box(int gruppe, int i);

    // The signature picture; empty when none is loaded.
    QImage unterschrift;

    // What the QSO display takes from the layout besides the controls: layout
    // flag 21 as the layout window holds it (the QSL route is shown with
    // "via " in front), and whether that window marks the preview (the items
    // show their names and a frame).
    bool viaMitdrucken = false;
    bool markiert = false;

private:
    QList<KartenElement> m_elemente;
};
