#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QEvent;
class QPushButton;
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
