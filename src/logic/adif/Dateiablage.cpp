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

bool dateiSync(int fd)
{
#ifdef Q_OS_UNIX
    return fd >= 0 && ::fsync(fd) == 0;
#else
    return fd >= 0;
#endif
}

// Error numbers of link() that say the file system has no hard links (or none
// here), not that the folder refuses a new name.
bool keinLink(int fehler)
{
    switch (fehler) {
    case EPERM:
    case EXDEV:
    case EMLINK:
    case ENOSYS:
    case EOPNOTSUPP:
#if defined(ENOTSUP) && ENOTSUP != EOPNOTSUPP
    case ENOTSUP:
#endif
        return true;
    default: return false;
    }
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
    bool operator==(const Stand &o) const { return inhaltGleich(o) && status == o.status; }
    // The same file with the same content; a new name of it (the backup link)
    // changes only its status time.
    bool inhaltGleich(const Stand &o) const
    {
        return vorhanden == o.vorhanden && groesse == o.groesse && geaendert == o.geaendert && knoten == o.knoten;
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

int EchteDateiablage::verknuepfen(const QString &datei, const QString &sicherung)
{
#ifdef Q_OS_UNIX
    if (::link(QFile::encodeName(datei).constData(), QFile::encodeName(sicherung).constData()) == 0)
        return 0;
    return errno;
#else
    Q_UNUSED(datei);
    Q_UNUSED(sicherung);
    return ENOSYS;
#endif
}

bool EchteDateiablage::kopieren(const QString &datei, const QString &sicherung, QString *fehler)
{
    QFile quelle(datei);
    QFile ziel(sicherung);
    bool ok = quelle.open(QIODevice::ReadOnly) && ziel.open(QIODevice::WriteOnly | QIODevice::NewOnly);
    while (ok && !quelle.atEnd()) {
        const QByteArray stueck = quelle.read(1 << 20);
        ok = quelle.error() == QFileDevice::NoError && ziel.write(stueck) == stueck.size();
    }
    ok = ok && ziel.flush() && dateiSync(ziel.handle());
    const QString grund = quelle.error() != QFileDevice::NoError ? quelle.errorString() : ziel.errorString();
    ziel.close();
    if (ok && ziel.error() == QFileDevice::NoError) {
        QFile::setPermissions(sicherung, QFileInfo(datei).permissions());
        return true;
    }
    setze(fehler, QStringLiteral("Die Datei %1 lässt sich nicht als Sicherung %2 kopieren (%3).")
                      .arg(QDir::toNativeSeparators(datei), QDir::toNativeSeparators(sicherung), grund));
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

qint64 EchteDateiablage::anfuegen(int fd, const QByteArray &bytes)
{
#ifdef Q_OS_UNIX
    ssize_t n;
    do
        n = ::write(fd, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    while (n < 0 && errno == EINTR);
    return n;
#else
    Q_UNUSED(fd);
    Q_UNUSED(bytes);
    errno = ENOSYS;
    return -1;
#endif
}

bool EchteDateiablage::fdSynchronisieren(int fd)
{
    return dateiSync(fd);
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
    // Another program wrote the file since it was read: its QSOs would be lost.
    auto fremdGeaendert = [&](bool nurInhalt) {
        if (!erwartet)
            return false;
        const Stand jetzt = standLesen(ziel);
        if (nurInhalt ? jetzt.inhaltGleich(*erwartet) : jetzt == *erwartet)
            return false;
        if (veraendert)
            *veraendert = true;
        setze(fehler, QStringLiteral("Die Datei %1 wird gerade von einem anderen Programm geändert.").arg(name));
        return true;
    };
    if (fremdGeaendert(false)) {
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
            setze(fehler,
                  QStringLiteral("Die Sicherungsdatei %1 ist ein Ordner.").arg(QDir::toNativeSeparators(sicherung)));
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
    // The new backup goes and the older one comes back. Should it not come
    // back, *fehler says where it is; a new backup that stays is a whole copy
    // of the log as it still is.
    auto sicherungZurueck = [&] {
        if (beiseite.isEmpty()) {
            ablage.entfernen(sicherung);
        } else if (!ablage.umbenennen(beiseite, sicherung)) {
            setze(fehler,
                  (fehler ? *fehler + QLatin1Char(' ') : QString())
                      + QStringLiteral("Die ältere Sicherung steht in %1.").arg(QDir::toNativeSeparators(beiseite)));
        }
    };

    // The backup is a second name of the log, so the log itself never leaves
    // its path: a logger appending meanwhile finds it there.
    const int verknuepft = ablage.verknuepfen(ziel, sicherung);
    if (verknuepft != 0) {
        const bool kopieren = keinLink(verknuepft);
        if (!kopieren)
            setze(fehler, QStringLiteral("Von der Datei %1 lässt sich keine Sicherung %2 anlegen (%3).")
                              .arg(name, QDir::toNativeSeparators(sicherung),
                                   QString::fromLocal8Bit(std::strerror(verknuepft))));
        if (!kopieren || !ablage.kopieren(ziel, sicherung, fehler)) {
            // What the copy left is no backup; a failed link left nothing.
            if (kopieren || !beiseite.isEmpty())
                sicherungZurueck();
            ablage.entfernen(temp);
            return false;
        }
    }
    if (fremdGeaendert(true)) {
        sicherungZurueck();
        ablage.entfernen(temp);
        return false;
    }
    if (!ablage.ersetzen(temp, ziel, fehler)) {
        ablage.entfernen(temp);
        sicherungZurueck();
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

bool DateiAnfuegen(const QString &pfad, const QByteArray &bytes, Dateiablage &ablage, QString *fehler)
{
    if (pfad.isEmpty()) {
        setze(fehler, QStringLiteral("Es ist keine Datei angegeben."));
        return false;
    }
    const QString name = QDir::toNativeSeparators(pfad);
    const QFileInfo info(pfad);
    if (!info.exists()) {
        setze(fehler, QStringLiteral("Die Datei %1 wurde nicht gefunden.").arg(name));
        return false;
    }
    if (!info.isFile()) {
        setze(fehler, QStringLiteral("%1 ist keine normale Datei.").arg(name));
        return false;
    }
#ifdef Q_OS_UNIX
    // Not blocking: a FIFO put in the log's place would hang the open.
    const int fd = ::open(QFile::encodeName(pfad).constData(), O_RDWR | O_APPEND | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        setze(fehler, errno == EACCES || errno == EROFS
                          ? QStringLiteral("Die Datei %1 ist schreibgeschützt.").arg(name)
                          : QStringLiteral("Die Datei %1 lässt sich nicht öffnen (%2).").arg(name, systemFehler()));
        return false;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        setze(fehler, QStringLiteral("%1 ist keine normale Datei.").arg(name));
        return false;
    }
    QByteArray daten;
    char letztes = '\n';
    if (st.st_size > 0 && ::pread(fd, &letztes, 1, st.st_size - 1) == 1 && letztes != '\n' && letztes != '\r')
        daten = "\r\n";
    daten += bytes;

    const qint64 geschrieben = ablage.anfuegen(fd, daten);
    QString grund;
    if (geschrieben < 0)
        grund = systemFehler();
    else if (geschrieben != daten.size())
        grund = QStringLiteral("nur %1 von %2 Bytes geschrieben").arg(geschrieben).arg(daten.size());
    else if (!ablage.fdSynchronisieren(fd))
        grund = systemFehler();
    if (grund.isEmpty()) {
        ::close(fd);
        return true;
    }
    // Whatever got written is cut off again, unless another program has
    // written after it meanwhile: cutting would take its QSO too.
    if (geschrieben > 0) {
        const off_t ende = ::lseek(fd, 0, SEEK_CUR);
        struct stat jetzt;
        if (ende >= geschrieben && ::fstat(fd, &jetzt) == 0 && jetzt.st_size == ende
            && ::ftruncate(fd, ende - geschrieben) == 0)
            ::fsync(fd);
    }
    ::close(fd);
    setze(fehler, QStringLiteral("Die Datei %1 lässt sich nicht ergänzen (%2).").arg(name, grund));
    return false;
#else
    Q_UNUSED(bytes);
    Q_UNUSED(ablage);
    setze(fehler, QStringLiteral("Die Datei %1 lässt sich hier nicht ergänzen.").arg(name));
    return false;
#endif
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
        setze(
            fehler,
            QStringLiteral("Beim Lesen der Datei %1 ist ein Fehler aufgetreten (%2).").arg(name, datei.errorString()));
        daten->clear();
        return false;
    }
    return true;
}
