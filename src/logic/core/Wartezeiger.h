#pragma once

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

// The busy pointer over the whole program while a step runs; it is taken away
// before a question to the user and may come back afterwards. Without a GUI
// application (a test without windows) it does nothing.
class Wartezeiger
{
public:
    Wartezeiger() { an(); }
    ~Wartezeiger() { aus(); }
    Wartezeiger(const Wartezeiger &) = delete;
    Wartezeiger &operator=(const Wartezeiger &) = delete;

    void an()
    {
        if (!m_an && qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
            m_an = true;
        }
    }
    void aus()
    {
        if (m_an)
            QGuiApplication::restoreOverrideCursor();
        m_an = false;
    }

private:
    bool m_an = false;
};
