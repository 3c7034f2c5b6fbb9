#include "logwindows/Bleistift.h"

#include "core/Programmdateien.h"

#include <QCoreApplication>
#include <QDir>
#include <QImageReader>
#include <QPixmap>
#include <QStandardPaths>

QStringList BleistiftDateien()
{
    const QString name = QStringLiteral("Bleistift.ICO");
    QStringList dateien{QDir::current().filePath(name)};
    dateien << ProgrammDateiOrte(name, QCoreApplication::applicationDirPath(),
                                 QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation));
    return dateien;
}

std::optional<QCursor> BleistiftZeiger(const QStringList &dateien)
{
    for (const QString &pfad : dateien) {
        // Named by the extension in upper case, which the reader does not
        // recognise on its own.
        QImageReader leser(pfad, "ico");
        QImage bild = leser.read();
        if (bild.isNull()) {
            leser.setFileName(pfad);
            leser.setFormat(QByteArray());
            bild = leser.read();
        }
        if (bild.isNull())
            continue;
        return QCursor(QPixmap::fromImage(bild), 0, bild.height() - 1);
    }
    return std::nullopt;
}
