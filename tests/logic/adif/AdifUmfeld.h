#pragma once

#include "SkriptDialoge.h"
#include "SkriptMeldungen.h"
#include "core/Umgebung.h"
#include "core/Zustand.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

// What the ADIF tests share: the program state with scripted message boxes and
// dialogs, and a folder for the logs that is fresh for every test function, so
// a test can check that nothing else was left in it.
class AdifUmfeld
{
protected:
    std::unique_ptr<QTemporaryDir> m_dir = std::make_unique<QTemporaryDir>();
    Zustand z;
    SkriptMeldungen meldungen;
    SkriptDialoge dialoge;
    Umgebung u{z, meldungen, dialoge};

    void frisch()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        z = Zustand();
        meldungen.leeren();
        dialoge = SkriptDialoge();
    }
    // A name in the folder; an absolute path is kept as it is.
    QString pfad(const QString &name) const { return m_dir->filePath(name); }
    QStringList ordner() const
    {
        return QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
    QString schreiben(const QString &name, const QByteArray &inhalt) const
    {
        QFile f(pfad(name));
        f.open(QIODevice::WriteOnly);
        f.write(inhalt);
        return f.fileName();
    }
    QByteArray lesen(const QString &name) const
    {
        QFile f(pfad(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};
