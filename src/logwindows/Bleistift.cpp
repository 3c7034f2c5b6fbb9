#include "logwindows/Bleistift.h"

#include <QCoreApplication>
#include <QDir>
#include <QImageReader>
#include <QPixmap>

QStringList BleistiftOrte()
{
    return {QDir::currentPath(), QCoreApplication::applicationDirPath()};
}

std::optional<QCursor> BleistiftZeiger(const QStringList &ordner)
{
    for (const QString &o : ordner) {
        if (o.isEmpty())
            continue;
        const QString pfad = QDir(o).filePath(QStringLiteral("Bleistift.ICO"));
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
