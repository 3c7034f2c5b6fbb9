#include "search/Dateisuche.h"

#include "core/Zahlformat.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>
#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unordered_set>
#include <vector>

namespace {

// The pattern folded once; each name is folded character by character while it
// is compared.
class Muster
{
public:
    explicit Muster(const QString &muster)
        : m(muster.toCaseFolded())
    {
    }

    bool passt(const QString &name) const
    {
        qsizetype n = 0;
        qsizetype p = 0;
        qsizetype sternP = -1;
        qsizetype sternN = 0;
        while (n < name.size()) {
            if (p < m.size()) {
                if (m.at(p) == QLatin1Char('*')) {
                    sternP = ++p;
                    sternN = n;
                    continue;
                }
                qsizetype weiter = 0;
                if (zeichenPasst(p, name.at(n).toCaseFolded(), weiter)) {
                    p = weiter;
                    ++n;
                    continue;
                }
            }
            if (sternP < 0)
                return false;
            p = sternP;
            n = ++sternN;
        }
        while (p < m.size() && m.at(p) == QLatin1Char('*'))
            ++p;
        return p == m.size();
    }

private:
    bool zeichenPasst(qsizetype p, QChar c, qsizetype &weiter) const
    {
        const QChar z = m.at(p);
        if (z == QLatin1Char('?')) {
            weiter = p + 1;
            return true;
        }
        if (z == QLatin1Char('[')) {
            qsizetype i = p + 1;
            const bool nicht = i < m.size() && (m.at(i) == QLatin1Char('!') || m.at(i) == QLatin1Char('^'));
            if (nicht)
                ++i;
            const qsizetype start = i;
            bool drin = false;
            while (i < m.size() && (m.at(i) != QLatin1Char(']') || i == start)) {
                if (i + 2 < m.size() && m.at(i + 1) == QLatin1Char('-') && m.at(i + 2) != QLatin1Char(']')) {
                    if (c >= m.at(i) && c <= m.at(i + 2))
                        drin = true;
                    i += 3;
                } else {
                    if (c == m.at(i))
                        drin = true;
                    ++i;
                }
            }
            // Without its "]" the "[" is an ordinary character.
            if (i < m.size()) {
                weiter = i + 1;
                return drin != nicht;
            }
        }
        weiter = p + 1;
        return c == z;
    }

    QString m;
};

struct Knoten
{
    dev_t geraet;
    ino_t inode;
    bool operator==(const Knoten &o) const { return geraet == o.geraet && inode == o.inode; }
};

struct KnotenHash
{
    size_t operator()(const Knoten &k) const
    {
        return std::hash<unsigned long long>()(static_cast<unsigned long long>(k.inode) * 1000003ULL
                                               ^ static_cast<unsigned long long>(k.geraet));
    }
};

struct Ordner
{
    QByteArray roh; // as the system names it, ending with "/"
    QString pfad;   // the same as text, ending with "/"
    dev_t geraet;
};

struct Eintrag
{
    QByteArray roh;
    QString name;
    qint64 groesse = 0;
    dev_t geraet = 0;
};

bool vorName(const Eintrag &a, const Eintrag &b)
{
    const int c = a.name.compare(b.name, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a.name < b.name;
}

QSet<QString> volumeWurzeln()
{
    QSet<QString> wurzeln;
    const QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    for (const QStorageInfo &v : volumes)
        wurzeln.insert(v.rootPath());
    return wurzeln;
}

} // namespace

qint64 FindFilesAPI(const QString &path, const QString &pattern, qint64 &fileCount, qint64 &dirCount, Suchlauf &lauf)
{
    lauf.ordnerDurchsucht = 0;
    lauf.abgebrochen = false;
    QString wurzel = path;
    if (!wurzel.endsWith(QLatin1Char('/')))
        wurzel += QLatin1Char('/');
    const QByteArray rohWurzel = QFile::encodeName(wurzel);
    struct stat st
    {};
    if (::stat(rohWurzel.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return 0;

    const Muster muster(pattern);
    std::unordered_set<Knoten, KnotenHash> besucht;
    besucht.insert({st.st_dev, st.st_ino});
    // Read from the system only when the search meets another device.
    QSet<QString> fremdeWurzeln;
    bool wurzelnGelesen = false;

    std::vector<Ordner> stapel;
    stapel.push_back({rohWurzel, wurzel, st.st_dev});
    qint64 summe = 0;
    QElapsedTimer uhr;
    uhr.start();
    std::vector<Eintrag> treffer;
    std::vector<Eintrag> unter;

    while (!stapel.empty()) {
        if (lauf.fortschritt && uhr.elapsed() >= lauf.meldeAbstandMs) {
            if (!lauf.fortschritt(lauf.ordnerDurchsucht)) {
                lauf.abgebrochen = true;
                break;
            }
            uhr.restart();
        }
        const Ordner ordner = std::move(stapel.back());
        stapel.pop_back();

        DIR *d = ::opendir(ordner.roh.constData());
        if (!d)
            continue;
        ++lauf.ordnerDurchsucht;
        const int fd = ::dirfd(d);
        treffer.clear();
        unter.clear();
        while (const dirent *e = ::readdir(d)) {
            const char *roh = e->d_name;
            if (roh[0] == '.' && (roh[1] == '\0' || (roh[1] == '.' && roh[2] == '\0')))
                continue;
            unsigned char art = e->d_type;
            struct stat s
            {};
            if (art == DT_UNKNOWN) {
                if (::fstatat(fd, roh, &s, AT_SYMLINK_NOFOLLOW) != 0)
                    continue;
                art = S_ISDIR(s.st_mode)   ? DT_DIR
                      : S_ISLNK(s.st_mode) ? DT_LNK
                      : S_ISREG(s.st_mode) ? DT_REG
                                           : DT_UNKNOWN;
            }
            if (art == DT_DIR) {
                if (::fstatat(fd, roh, &s, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISDIR(s.st_mode))
                    continue;
                const QString name = QFile::decodeName(roh);
                if (s.st_dev != ordner.geraet) {
                    if (!wurzelnGelesen) {
                        fremdeWurzeln = volumeWurzeln();
                        wurzelnGelesen = true;
                    }
                    if (fremdeWurzeln.contains(ordner.pfad + name))
                        continue;
                }
                if (!besucht.insert({s.st_dev, s.st_ino}).second)
                    continue;
                ++dirCount;
                unter.push_back({QByteArray(roh), name, 0, s.st_dev});
                continue;
            }
            if (art != DT_REG && art != DT_LNK)
                continue;
            const QString name = QFile::decodeName(roh);
            if (!muster.passt(name))
                continue;
            // A link counts as the file it points to; one to a folder or to
            // nothing is no file.
            if (::fstatat(fd, roh, &s, 0) != 0 || !S_ISREG(s.st_mode))
                continue;
            treffer.push_back({QByteArray(roh), name, static_cast<qint64>(s.st_size), 0});
        }
        ::closedir(d);

        std::sort(treffer.begin(), treffer.end(), vorName);
        for (const Eintrag &t : treffer) {
            const QString voll = ordner.pfad + t.name;
            if (QFile::encodeName(voll) != ordner.roh + t.roh)
                continue;
            if (voll.contains(QLatin1Char(';'))) {
                if (lauf.ausgelassen)
                    lauf.ausgelassen(voll);
                continue;
            }
            summe += t.groesse;
            ++fileCount;
            if (lauf.gefunden)
                lauf.gefunden(voll);
        }
        std::sort(unter.begin(), unter.end(), vorName);
        for (auto it = unter.rbegin(); it != unter.rend(); ++it)
            stapel.push_back({ordner.roh + it->roh + '/', ordner.pfad + it->name + QLatin1Char('/'), it->geraet});
    }
    return summe;
}

QString StripNulls(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

bool PasstZuMuster(const QString &name, const QString &muster)
{
    return Muster(muster).passt(name);
}

QString GroessenText(qint64 bytes)
{
    const double summe = static_cast<double>(bytes);
    double wert = summe;
    QString einheit = QStringLiteral("Kb");
    if (bytes >= 1000001) {
        wert = summe / 1000000.0;
        einheit = QStringLiteral("Mb");
    } else if (bytes < 1001) {
        einheit = QStringLiteral("Bytes");
    } else {
        wert = summe / 1000.0;
    }
    return FormatZahl(wert, QStringLiteral("#,###,###.##0")) + QLatin1Char(' ') + einheit;
}

QString UebernommenText(qint64 anzahl)
{
    return QLatin1Char(' ') + QString::number(anzahl)
           + (anzahl == 1 ? QStringLiteral(" ADIF-Datei übernommen") : QStringLiteral(" ADIF-Dateien übernommen"));
}

QString ErgebnisText(qint64 dateien, qint64 ordner, const QString &wurzel, qint64 bytes)
{
    return QString::number(dateien) + QStringLiteral(" Datei gefunden in ") + QString::number(ordner)
           + QStringLiteral(" Ordner unter ") + wurzel + QStringLiteral(" Größe der Dateien: ") + GroessenText(bytes);
}

QString FortschrittText(qint64 ordnerDurchsucht, qint64 dateien)
{
    return QStringLiteral(" Suche läuft: ") + QString::number(ordnerDurchsucht) + QStringLiteral(" Ordner durchsucht, ")
           + QString::number(dateien) + QStringLiteral(" Datei gefunden …");
}

bool LaufwerkAnbieten(const QString &wurzel, const QByteArray &dateisystem)
{
    static const QSet<QByteArray> pseudo = {
        "proc",    "sysfs",      "devtmpfs",  "devpts",      "tmpfs",           "ramfs",         "cgroup",
        "cgroup2", "securityfs", "pstore",    "bpf",         "debugfs",         "tracefs",       "configfs",
        "fusectl", "mqueue",     "hugetlbfs", "autofs",      "binfmt_misc",     "efivarfs",      "rpc_pipefs",
        "nsfs",    "squashfs",   "selinuxfs", "fuse.portal", "fuse.gvfsd-fuse", "fuse.snapfuse",
    };
    // The root is always offered, even where it is a RAM disk (live systems).
    if (wurzel == QLatin1String("/"))
        return true;
    if (pseudo.contains(dateisystem))
        return false;
    static const char *system[] = {"/proc", "/sys", "/dev", "/run", "/var/lib/docker", "/var/lib/containers", "/snap"};
    for (const char *s : system) {
        const QString ort = QString::fromLatin1(s);
        if (wurzel == ort || wurzel.startsWith(ort + QLatin1Char('/')))
            return wurzel.startsWith(QLatin1String("/run/media/"));
    }
    return true;
}

QStringList Laufwerke()
{
    QStringList liste;
    const QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    for (const QStorageInfo &v : volumes) {
        if (!v.isValid() || !v.isReady())
            continue;
        const QString wurzel = v.rootPath();
        if (liste.contains(wurzel) || !LaufwerkAnbieten(wurzel, v.fileSystemType()) || !QFileInfo(wurzel).isDir())
            continue;
        liste << wurzel;
    }
    std::sort(liste.begin(), liste.end(), [](const QString &a, const QString &b) {
        if (a == QLatin1String("/") || b == QLatin1String("/"))
            return a == QLatin1String("/") && b != a;
        return a < b;
    });
    return liste;
}

QString LaufwerkVon(const QString &pfad)
{
    const QStorageInfo info(pfad);
    return info.isValid() ? info.rootPath() : QStringLiteral("/");
}
