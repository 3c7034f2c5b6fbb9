#include "printing/StapelDruck.h"

#include "adif/AdifMischen.h"
#include "adif/AdifSchreiben.h"
#include "adif/Dateiablage.h"
#include "core/Hilfen.h"
#include "core/Umgebung.h"
#include "core/Wartezeiger.h"
#include "mainwindow/QsoAnzeige.h"
#include "printing/KartenDruck.h"
#include "printing/Zeichenziel.h"

#include <QHash>
#include <QSet>

namespace {

// Long lists of QSOs in a message box end after this many.
constexpr int kGezeigteQsos = 20;

QString qsoText(const StapelEintrag &e)
{
    return e.Satz.Call + QLatin1Char(' ') + e.Satz.DatumText + QLatin1Char(' ') + e.Satz.ZeitText;
}

QString qsoListe(const QStringList &qsos)
{
    QString text = qsos.mid(0, kGezeigteQsos).join(Zustand::CrLf);
    if (qsos.size() > kGezeigteQsos)
        text += Zustand::CrLf + QStringLiteral("… und %1 weitere").arg(qsos.size() - kGezeigteQsos);
    return text;
}

// Shows the card scan again however the job ends.
class Bild1Aus
{
public:
    explicit Bild1Aus(const std::function<void(bool)> &f)
        : m_f(f)
    {
        if (m_f)
            m_f(false);
    }
    ~Bild1Aus()
    {
        if (m_f)
            m_f(true);
    }
    Bild1Aus(const Bild1Aus &) = delete;
    Bild1Aus &operator=(const Bild1Aus &) = delete;

private:
    const std::function<void(bool)> &m_f;
};

// Where the records of the loaded log stand in the record list, by their
// text as the file holds it, for the texts asked for.
QHash<QString, QList<qsizetype>> geladeneStellen(const Zustand &z, const QSet<QString> &texte)
{
    QHash<qsizetype, const QString *> geaendert;
    for (const AdifAenderung &a : z.AdifAenderungen) {
        if (a.Datei == z.AdifRecordsDatei && a.Index >= 0)
            geaendert.insert(a.Index, &a.Gelesen);
    }
    QSet<qsizetype> laengen;
    for (const QString &t : texte)
        laengen.insert(t.size());
    QHash<QString, QList<qsizetype>> stellen;
    for (qsizetype i = 0; i < z.AdifRecords.size(); ++i) {
        const auto it = geaendert.constFind(i);
        const QString &text = it != geaendert.constEnd() ? **it : z.AdifRecords.at(i);
        if (laengen.contains(text.size()) && texte.contains(text))
            stellen[text].append(i);
    }
    return stellen;
}

// The marks of the printed cards, as changes waiting for their files; false
// for a QSO whose record would read otherwise with the mark.
struct Vermerke
{
    Zustand &z;
    QHash<QString, QList<qsizetype>> geladen;
    QList<qsizetype> geladenGeaendert;

    bool eintragen(const StapelEintrag &e, const QString &gebaut)
    {
        bool gelungen = true;
        if (!z.AdifRecordsDatei.isEmpty() && e.Datei == z.AdifRecordsDatei) {
            // The loaded log's record list gets the mark too, so the browser
            // shows it and a later print of the QSO finds its record.
            const QList<qsizetype> stellen = geladen.value(e.Gelesen);
            if (e.Vorkommen < stellen.size()) {
                const qsizetype i = stellen.at(e.Vorkommen);
                const QString neu = AdifSatzMischen(z.AdifRecords.at(i), gebaut, Korrekturen(), &gelungen);
                if (gelungen && AdifRecordErsetzen(z, i, neu))
                    geladenGeaendert.append(i);
                return gelungen;
            }
        }
        // A mark of an earlier print still waiting for this record is kept.
        for (AdifAenderung &a : z.AdifAenderungen) {
            if (a.Datei == e.Datei && a.Index < 0 && a.Gelesen == e.Gelesen && a.Vorkommen == e.Vorkommen) {
                const QString neu = AdifSatzMischen(a.Zeile, gebaut, Korrekturen(), &gelungen);
                if (gelungen)
                    a.Zeile = QString::fromLatin1(neu.toLatin1());
                return gelungen;
            }
        }
        const QString neu = AdifSatzMischen(e.Gelesen, gebaut, Korrekturen(), &gelungen);
        if (gelungen && neu != e.Gelesen) {
            AdifAenderung a;
            a.Datei = e.Datei;
            a.Gelesen = e.Gelesen;
            a.Vorkommen = e.Vorkommen;
            a.Zeile = QString::fromLatin1(neu.toLatin1());
            z.AdifAenderungen.append(a);
        }
        return gelungen;
    }
};

int vermerken(Umgebung &u, const QList<StapelAuswahl> &karten, QList<QsoDaten> qsos, Dateiablage &ablage)
{
    Zustand &z = u.z;
    QSet<QString> texte;
    for (qsizetype i = 0; i < qsos.size(); ++i) {
        if (karten.at(i).Eintrag.Datei == z.AdifRecordsDatei)
            texte.insert(karten.at(i).Eintrag.Gelesen);
    }
    Vermerke v{z, texte.isEmpty() ? QHash<QString, QList<qsizetype>>() : geladeneStellen(z, texte), {}};

    QStringList dateien;
    QHash<QString, int> anzahl;
    QStringList nichtMischbar;
    for (qsizetype i = 0; i < qsos.size(); ++i) {
        QsoDaten &q = qsos[i];
        q.QslSent = true;
        const StapelEintrag &e = karten.at(i).Eintrag;
        if (!v.eintragen(e, AdifSatzBauen(q))) {
            nichtMischbar.append(qsoText(e));
            continue;
        }
        if (!dateien.contains(e.Datei))
            dateien.append(e.Datei);
        ++anzahl[e.Datei];
    }
    if (!nichtMischbar.isEmpty())
        u.meldungen.zeigen(QStringLiteral("QSL nicht markiert"),
                           QStringLiteral("In den Datensätzen dieser QSOs passt eine Feldlänge nicht zum Wert; mit der "
                                          "Markierung würden sie anders gelesen, darum sind ihre Karten im Logbuch "
                                          "nicht als gesendet vermerkt:")
                               + z.CrLf + qsoListe(nichtMischbar),
                           Symbol::Ausruf, Knoepfe::Ok);

    int markiert = 0;
    for (const QString &datei : std::as_const(dateien)) {
        if (AdifDateiSchreiben(u, ablage, datei))
            markiert += anzahl.value(datei);
    }
    // The QSO handed over last names its record by the text the file holds.
    if (!z.AktQsoDatei.isEmpty() && z.AktQsoDatei == z.AdifRecordsDatei
        && v.geladenGeaendert.contains(z.AdifRecordIndex))
        z.AktQsoSatz = AdifRecordGelesen(z, z.AdifRecordIndex);
    return markiert;
}

} // namespace

Kartenvorschau StapelKarte(const StapelAuswahl &auswahl, const QDate &heute, const Kartenvorschau &basis,
                           std::array<qint16, 3> chkIndex, QsoDaten *qso)
{
    Kartenvorschau karte = basis;
    karte.markiert = false;
    QsoDaten q = StapelQso(auswahl.Eintrag, auswahl.Tnx, heute, &karte).value_or(QsoDaten());
    ZeigeQSO(q, chkIndex, karte);
    if (qso)
        *qso = q;
    return karte;
}

StapelErgebnis StapelDrucken(Umgebung &u, const QList<StapelAuswahl> &karten, const Kartenvorschau &basis,
                             const StapelRueckrufe &rueckrufe, Dateiablage *ablage)
{
    Zustand &z = u.z;
    StapelErgebnis ergebnis;
    if (karten.isEmpty())
        return ergebnis;
    ergebnis.ergebnis = DruckErgebnis::Fehler;
    if (!z.objZiel)
        return ergebnis;
    Zeichenziel &ziel = *z.objZiel;
    // Events run between the cards; what the job works with stays as it was
    // at its start.
    const float oben = z.RandOben;
    const float links = z.RandLinks;
    const std::array<qint16, 3> chkIndex = z.ChkIndex;
    const QDate heute = QDate::currentDate();

    Wartezeiger sanduhr;
    if (!DruckerFuerKarten(u, ziel, sanduhr))
        return ergebnis;
    ziel.setDokumentName(QStringLiteral("Stapel"));
    const Bild1Aus verborgen(rueckrufe.bild1Sichtbar);

    QList<QsoDaten> qsos;
    try {
        for (qsizetype i = 0; i < karten.size(); ++i) {
            if (rueckrufe.weiter && !rueckrufe.weiter(int(i) + 1, int(karten.size()))) {
                ergebnis.abgebrochen = true;
                break;
            }
            QsoDaten q;
            const Kartenvorschau karte = StapelKarte(karten.at(i), heute, basis, chkIndex, &q);
            if (i > 0)
                ziel.NewPage();
            // The corrections are those of the start, so only the first card
            // can be refused, before anything is drawn.
            if (!KarteDrucken(karte, oben, links, ziel, u.meldungen, {}, Seitenende::Offen)) {
                ergebnis.ergebnis = DruckErgebnis::Verweigert;
                return ergebnis;
            }
            qsos.append(q);
        }
        if (!qsos.isEmpty())
            ziel.EndDoc();
    } catch (const ZielFehler &fehler) {
        sanduhr.aus();
        QStringList alle;
        for (const StapelAuswahl &k : karten)
            alle.append(qsoText(k.Eintrag));
        u.meldungen.zeigen(QStringLiteral("Fehler"),
                           QString::fromStdString(fehler.what()) + z.CrLf + z.CrLf
                               + QStringLiteral("Der Druckauftrag ist abgebrochen; diese Karten sind nicht gedruckt "
                                                "und im Logbuch nicht als gesendet vermerkt:")
                               + z.CrLf + qsoListe(alle),
                           Symbol::Ausruf, Knoepfe::Ok);
        return ergebnis;
    }
    if (qsos.isEmpty()) {
        ergebnis.ergebnis = DruckErgebnis::Abgebrochen;
        return ergebnis;
    }
    ergebnis.ergebnis = DruckErgebnis::Gedruckt;
    ergebnis.gedruckt = int(qsos.size());
    ergebnis.datei = ziel.LetzteDatei();

    EchteDateiablage echt;
    ergebnis.markiert = vermerken(u, karten, qsos, ablage ? *ablage : echt);
    return ergebnis;
}
