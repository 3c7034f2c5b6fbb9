#pragma once

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

// The busy pointer for the length of a command; without a GUI application
// (a test without windows) it does nothing.
class Sanduhr
{
public:
    Sanduhr()
    {
        if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
            m_an = true;
        }
    }
    ~Sanduhr() { aus(); }
    Sanduhr(const Sanduhr &) = delete;
    Sanduhr &operator=(const Sanduhr &) = delete;

    void aus()
    {
        if (m_an)
            QGuiApplication::restoreOverrideCursor();
        m_an = false;
    }

private:
    bool m_an = false;
};
