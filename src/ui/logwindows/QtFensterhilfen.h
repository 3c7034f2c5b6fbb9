#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include <QList>
#include <QPair>

class QBoxLayout;
class QEvent;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

// Runs a window's activation step when the window comes to the front from
// another window of the program, or is shown (again); not when a message box
// or file dialog it opened closes, nor when the user comes back from another
// program. The log windows reset fields on activation, which must not undo
// what the user typed before a message box.
class Aktivierungswaechter : public QObject
{
public:
    Aktivierungswaechter(QWidget *fenster, std::function<void()> schritt);

protected:
    bool eventFilter(QObject *objekt, QEvent *event) override;

private:
    QWidget *m_fenster;
    std::function<void()> m_schritt;
    bool m_faellig = true;
};

// True for the focus leaving a field for another control of its window; a
// message box or another window taking the focus for a while does not count.
bool FeldVerlassen(const QEvent *event);

// A button with its name, caption and tool tip.
QPushButton *Knopf(const char *name, const QString &text, const QString &hinweis = QString());

// Label and field side by side, one pair per row, each label the field's buddy.
void FelderZeilen(QGroupBox *rahmen, const QList<QPair<QString, QWidget *>> &zeilen);

// The frames both log windows show alike: "QSO-Daten : " with text[1..7],
// "My Station : " with text[8..10] and "QSL PSE/TNX : " with the PSE/TNX
// choice, the comment text[11] under its clickable label and "QSL via : ".
// The windows differ only in the blank after the colon of the QSO captions.
// The first two frames go into the left column, the third into the right;
// clicks on the comment label go to the window's event filter.
struct QsoRahmen
{
    QGroupBox *qso;
    QGroupBox *station;
    QGroupBox *pseTnx;
    QRadioButton *option1;
    QRadioButton *option2;
    QLabel *label11;
};
QsoRahmen QsoRahmenBauen(QLineEdit *const text[], QLineEdit *qslVia, const QString &nachDoppelpunkt, QBoxLayout *links,
                         QBoxLayout *rechts, QObject *fenster);
