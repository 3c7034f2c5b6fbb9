#include "adif/Dateiablage.h"

#include "adif/AdifFormat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// A log of a hundred thousand QSOs is about 25 MB; anything beyond this is no
// log, and reading it whole could exhaust the memory.
constexpr qint64 kGroessteDatei = qint64(1) << 30;

QString systemFehler()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

void setze(QString *ziel, const QString &text)
{
    if (ziel)
        *ziel = text;
}

QString freierName(const QString &basis)
{
    for (;;) {
        const QString name =
            basis + QStringLiteral(".alt") + QString::number(QRandomGenerator::global()->generate() % 1000000);
        const QFileInfo i(name);
        if (!i.exists() && !i.isSymLink())
            return name;
    }
}

} // namespace

bool EchteDateiablage::temporaerSchreiben(const QString &ordner, const QString &vorsilbe, const QByteArray &inhalt,
                                          QString *temp, QString *fehler)
{
    QTemporaryFile datei(ordner + QLatin1Char('/') + vorsilbe + QStringLiteral("XXXXXX"));
    datei.setAutoRemove(false);
    if (!datei.open()) {
        setze(fehler, QStringLiteral("Im Ordner %1 lässt sich keine Datei anlegen (%2).")
                          .arg(QDir::toNativeSeparators(ordner), datei.errorString()));
        return false;
    }
    setze(temp, datei.fileName());
    const bool geschrieben = datei.write(inhalt) == inhalt.size() && datei.flush();
    const QString grund = datei.errorString();
    datei.close();
    if (!geschrieben || datei.error() != QFileDevice::NoError) {
        setze(fehler, QStringLiteral("Die Datei %1 lässt sich nicht vollständig schreiben (%2).")
                          .arg(QDir::toNativeSeparators(datei.fileName()), grund));
        return false;
    }
    return true;
}

bool EchteDateiablage::synchronisieren(const QString &datei, QString *fehler)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(datei).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) {
        setze(fehler, QStringLiteral("Die Datei %1 lässt sich nicht auf den Datenträger schreiben (%2).")
                          .arg(QDir::toNativeSeparators(datei), systemFehler()));
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    if (::close(fd) != 0) {
        setze(fehler, QStringLiteral("Die Datei %1 lässt sich nicht auf den Datenträger schreiben (%2).")
                          .arg(QDir::toNativeSeparators(datei), systemFehler()));
        return false;
    }
#else
    Q_UNUSED(datei);
    Q_UNUSED(fehler);
#endif
    return true;
}

bool EchteDateiablage::sicherungAnlegen(const QString &datei, const QString &sicherung, QString *fehler)
{
    if (umbenennen(datei, sicherung))
        return true;
    setze(fehler, QStringLiteral("Die Datei %1 lässt sich nicht in %2 umbenennen (%3).")
                      .arg(QDir::toNativeSeparators(datei), QDir::toNativeSeparators(sicherung), systemFehler()));
    return false;
}

bool EchteDateiablage::ersetzen(const QString &temp, const QString &datei, QString *fehler)
{
    if (umbenennen(temp, datei))
        return true;
    setze(fehler, QStringLiteral("Die neue Fassung von %1 lässt sich nicht an ihren Platz bringen (%2).")
                      .arg(QDir::toNativeSeparators(datei), systemFehler()));
    return false;
}

bool EchteDateiablage::umbenennen(const QString &von, const QString &nach)
{
    return std::rename(QFile::encodeName(von).constData(), QFile::encodeName(nach).constData()) == 0;
}

bool EchteDateiablage::entfernen(const QString &datei)
{
    return QFile::remove(datei);
}

void EchteDateiablage::ordnerSynchronisieren(const QString &ordner)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(ordner).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(ordner);
#endif
}

bool DateiSicherSchreiben(const QString &pfad, const QByteArray &inhalt, Dateiablage &ablage, QString *fehler)
{
    if (pfad.isEmpty()) {
        setze(fehler, QStringLiteral("Es ist keine Datei angegeben."));
        return false;
    }
    QString ziel = QFileInfo(pfad).absoluteFilePath();
    const QFileInfo verweis(ziel);
    if (verweis.isSymLink()) {
        const QString echt = verweis.canonicalFilePath();
        ziel = echt.isEmpty() ? verweis.symLinkTarget() : echt;
    }
    const QFileInfo info(ziel);
    const bool vorhanden = info.exists();
    const QString name = QDir::toNativeSeparators(ziel);
    if (vorhanden && !info.isFile()) {
        setze(fehler, QStringLiteral("%1 ist keine normale Datei.").arg(name));
        return false;
    }
    if (vorhanden && !info.isWritable()) {
        setze(fehler, QStringLiteral("Die Datei %1 ist schreibgeschützt.").arg(name));
        return false;
    }
    const QString ordner = info.absolutePath();

    QString temp;
    if (!ablage.temporaerSchreiben(ordner, QLatin1Char('.') + info.fileName() + QLatin1Char('.'), inhalt, &temp,
                                   fehler)) {
        if (!temp.isEmpty())
            ablage.entfernen(temp);
        return false;
    }
    if (vorhanden)
        QFile::setPermissions(temp, info.permissions());
    if (!ablage.synchronisieren(temp, fehler)) {
        ablage.entfernen(temp);
        return false;
    }
    if (!vorhanden) {
        if (!ablage.ersetzen(temp, ziel, fehler)) {
            ablage.entfernen(temp);
            return false;
        }
        ablage.ordnerSynchronisieren(ordner);
        return true;
    }

    // The older backup is only put aside, so that a failure further on can
    // bring it back.
    const QString sicherung = SicherungsName(ziel);
    const QFileInfo alteSicherung(sicherung);
    QString beiseite;
    if (alteSicherung.exists() || alteSicherung.isSymLink()) {
        if (alteSicherung.isDir()) {
            ablage.entfernen(temp);
            setze(fehler, QStringLiteral("Die Sicherungsdatei %1 ist ein Ordner.")
                              .arg(QDir::toNativeSeparators(sicherung)));
            return false;
        }
        beiseite = freierName(sicherung);
        if (!ablage.umbenennen(sicherung, beiseite)) {
            ablage.entfernen(temp);
            setze(fehler, QStringLiteral("Die alte Sicherungsdatei %1 lässt sich nicht ersetzen (%2).")
                              .arg(QDir::toNativeSeparators(sicherung), systemFehler()));
            return false;
        }
    }
    if (!ablage.sicherungAnlegen(ziel, sicherung, fehler)) {
        if (!beiseite.isEmpty())
            ablage.umbenennen(beiseite, sicherung);
        ablage.entfernen(temp);
        return false;
    }
    if (!ablage.ersetzen(temp, ziel, fehler)) {
        ablage.umbenennen(sicherung, ziel);
        if (!beiseite.isEmpty())
            ablage.umbenennen(beiseite, sicherung);
        ablage.entfernen(temp);
        return false;
    }
    if (!beiseite.isEmpty())
        ablage.entfernen(beiseite);
    ablage.ordnerSynchronisieren(ordner);
    return true;
}

bool DateiBytesLesen(const QString &pfad, QByteArray *daten, QString *fehler)
{
    daten->clear();
    if (pfad.isEmpty()) {
        setze(fehler, QStringLiteral("Es ist keine ADIF-Datei angegeben."));
        return false;
    }
    const QFileInfo info(pfad);
    const QString name = QDir::toNativeSeparators(pfad);
    if (!info.exists()) {
        setze(fehler, QStringLiteral("Die Datei %1 wurde nicht gefunden.").arg(name));
        return false;
    }
    if (info.isDir()) {
        setze(fehler, QStringLiteral("%1 ist ein Ordner und keine Datei.").arg(name));
        return false;
    }
    if (!info.isFile()) {
        setze(fehler, QStringLiteral("%1 ist keine normale Datei.").arg(name));
        return false;
    }
    if (info.size() > kGroessteDatei) {
        setze(fehler, QStringLiteral("Die Datei %1 ist zu groß für ein Logbuch.").arg(name));
        return false;
    }
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly)) {
        setze(fehler, QStringLiteral("Die Datei %1 lässt sich nicht lesen (%2).").arg(name, datei.errorString()));
        return false;
    }
    *daten = datei.readAll();
    if (datei.error() != QFileDevice::NoError) {
        setze(fehler,
              QStringLiteral("Beim Lesen der Datei %1 ist ein Fehler aufgetreten (%2).").arg(name, datei.errorString()));
        daten->clear();
        return false;
    }
    return true;
}
