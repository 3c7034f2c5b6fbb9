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
#include <sys/stat.h>
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

// What tells whether another program has written a file since it was read:
// on Unix the inode, the size and the modification and status change times.
struct Stand
{
    bool vorhanden = false;
    qint64 groesse = 0;
    qint64 geaendert = 0;
    qint64 status = 0;
    qint64 knoten = 0;
    bool operator==(const Stand &o) const
    {
        return vorhanden == o.vorhanden && groesse == o.groesse && geaendert == o.geaendert && status == o.status
               && knoten == o.knoten;
    }
};

Stand standLesen(const QString &pfad)
{
    Stand s;
#ifdef Q_OS_UNIX
    struct stat st;
    if (::stat(QFile::encodeName(pfad).constData(), &st) != 0)
        return s;
    s.vorhanden = true;
    s.groesse = st.st_size;
    s.geaendert = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    s.status = qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    s.knoten = qint64(st.st_ino);
#else
    const QFileInfo i(pfad);
    s.vorhanden = i.exists();
    s.groesse = i.size();
    s.geaendert = i.lastModified().toMSecsSinceEpoch();
#endif
    return s;
}

// The file a write goes to: a symbolic link is followed, so that the link stays
// and the log it points to is replaced.
QString schreibZiel(const QString &pfad)
{
    const QString ziel = QFileInfo(pfad).absoluteFilePath();
    const QFileInfo verweis(ziel);
    if (!verweis.isSymLink())
        return ziel;
    const QString echt = verweis.canonicalFilePath();
    return echt.isEmpty() ? verweis.symLinkTarget() : echt;
}

// The safe write itself. With erwartet, the file must still be as it was when
// it was read, checked just before it is replaced; *veraendert tells the caller
// that it was not.
bool sicherSchreiben(const QString &ziel, const QByteArray &inhalt, Dateiablage &ablage, QString *fehler,
                     const Stand *erwartet, bool *veraendert);

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

namespace {

bool sicherSchreiben(const QString &ziel, const QByteArray &inhalt, Dateiablage &ablage, QString *fehler,
                     const Stand *erwartet, bool *veraendert)
{
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
    if (erwartet && !(standLesen(ziel) == *erwartet)) {
        ablage.entfernen(temp);
        if (veraendert)
            *veraendert = true;
        setze(fehler, QStringLiteral("Die Datei %1 wird gerade von einem anderen Programm geändert.").arg(name));
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
            setze(fehler, QStringLiteral("Die alte Sicherungsdatei %1 lässt sich nicht ersetzen (%2).")
                              .arg(QDir::toNativeSeparators(sicherung), systemFehler()));
            ablage.entfernen(temp);
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
        if (ablage.umbenennen(sicherung, ziel)) {
            if (!beiseite.isEmpty())
                ablage.umbenennen(beiseite, sicherung);
            ablage.entfernen(temp);
            return false;
        }
        // The log cannot go back to its name either. It is whole under the
        // backup name and its new version in the temporary file; putting the
        // older backup back would write over the log, and removing the
        // temporary file would drop the new version. Everything stays, and
        // the user learns where.
        QString wo = QStringLiteral("Das Logbuch steht vollständig in %1, die neue Fassung in %2")
                         .arg(QDir::toNativeSeparators(sicherung), QDir::toNativeSeparators(temp));
        if (!beiseite.isEmpty())
            wo += QStringLiteral(", die ältere Sicherung in %1").arg(QDir::toNativeSeparators(beiseite));
        setze(fehler, (fehler ? *fehler + QLatin1Char(' ') : QString()) + wo + QLatin1Char('.'));
        return false;
    }
    if (!beiseite.isEmpty())
        ablage.entfernen(beiseite);
    ablage.ordnerSynchronisieren(ordner);
    return true;
}

} // namespace

bool DateiSicherSchreiben(const QString &pfad, const QByteArray &inhalt, Dateiablage &ablage, QString *fehler)
{
    if (pfad.isEmpty()) {
        setze(fehler, QStringLiteral("Es ist keine Datei angegeben."));
        return false;
    }
    return sicherSchreiben(schreibZiel(pfad), inhalt, ablage, fehler, nullptr, nullptr);
}

bool DateiSicherAendern(const QString &pfad, bool anlegen, const DateiAenderung &aendern, Dateiablage &ablage,
                        QString *fehler)
{
    if (pfad.isEmpty()) {
        setze(fehler, QStringLiteral("Es ist keine Datei angegeben."));
        return false;
    }
    const QString ziel = schreibZiel(pfad);
    for (int versuch = 1;; ++versuch) {
        const Stand vorher = standLesen(ziel);
        QByteArray alt;
        if ((vorher.vorhanden || !anlegen) && !DateiBytesLesen(ziel, &alt, fehler))
            return false;
        QByteArray neu;
        if (!aendern(alt, &neu))
            return true;
        alt.clear();
        bool veraendert = false;
        if (sicherSchreiben(ziel, neu, ablage, fehler, &vorher, &veraendert))
            return true;
        if (!veraendert || versuch == 3)
            return false;
    }
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
