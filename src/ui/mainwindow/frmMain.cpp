#include "mainwindow/frmMain.h"

#include "about/frmAbout.h"
#include "adif/AdifSchreiben.h"
#include "core/Einstellungen.h"
#include "core/Hilfen.h"
#include "core/Programmdateien.h"
#include "mainwindow/Kartenflaeche.h"
#include "mainwindow/Programmsymbol.h"
#include "mainwindow/QsoAnzeige.h"
#include "printing/DruckerEinrichtung.h"
#include "printing/Randkorrektur.h"
#include "printing/Zeichenziel.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <algorithm>
#include <cmath>

namespace {

// The objectName of each command's menu entry, in the order of Befehl.
constexpr std::array<const char *, AnzahlBefehle> befehlNamen = {
    "mnuFileOpen",         "mnuXFileOpen",       "mnuFileExit",      "mnuADIFLog",       "mnuEditLog",
    "mnuFilePrint",        "mnuQslStapel",       "mnuMyCall",        "mnuStation",       "mnuScanSetup",
    "mnuUnterschriftScan", "mnuQSL_Einrichtung", "mnuPrinterSetup",  "mnuPrinterRand",   "mnuKalibrierkarte",
    "mnuHelpContents",     "mnuHelpAbout",       "mnu_objZiel_Info", "mnu_Printer_Info",
};

constexpr std::size_t nummer(Befehl befehl)
{
    return static_cast<std::size_t>(befehl);
}

// A menu entry: a command with its caption and key, or a separator.
struct Eintrag
{
    Befehl befehl;
    const char *text;    // nullptr: a separator
    const char *taste;   // nullptr: no key
    const char *trenner; // a separator's objectName
};

Eintrag befehlsEintrag(Befehl befehl, const char *text, const char *taste = nullptr)
{
    return {befehl, text, taste, nullptr};
}

Eintrag trennEintrag(const char *name)
{
    return {Befehl{}, nullptr, nullptr, name};
}

struct Menue
{
    const char *name;
    const char *text;
    QList<Eintrag> eintraege;
};

const QList<Menue> &menues()
{
    static const QList<Menue> m = {
        {"mnuFile",
         "&Datei",
         {befehlsEintrag(Befehl::mnuFileOpen, "&Öffnen eine ADIF-Datei", "F3"),
          befehlsEintrag(Befehl::mnuXFileOpen, "Öffnen &mehrere ADIF-Dateien", "F7"), trennEintrag("mnuFileBar0"),
          befehlsEintrag(Befehl::mnuFileExit, "&Beenden")}},
        {"mnuLog",
         "&Logbuch",
         {befehlsEintrag(Befehl::mnuADIFLog, "&ADIF-Logbuch-Daten", "F4"),
          befehlsEintrag(Befehl::mnuEditLog, "&Handeingabe", "F6"), trennEintrag("mnuEditBar0"),
          befehlsEintrag(Befehl::mnuFilePrint, "QSL-Karte &bedrucken...", "F5"),
          befehlsEintrag(Befehl::mnuQslStapel, "QSL-&Stapel drucken...", "F8")}},
        {"mnuSet",
         "&Settings",
         {befehlsEintrag(Befehl::mnuMyCall, "My &Call"), befehlsEintrag(Befehl::mnuStation, "My &Station"),
          befehlsEintrag(Befehl::mnuScanSetup, "&1:1 QSL-Scan einlesen"),
          befehlsEintrag(Befehl::mnuUnterschriftScan, "&Unterschrift-Scan einlesen"),
          befehlsEintrag(Befehl::mnuQSL_Einrichtung, "&QSL-Karte einrichten"), trennEintrag("mnuSetBar1"),
          befehlsEintrag(Befehl::mnuPrinterSetup, "&Drucker einrichten..."),
          befehlsEintrag(Befehl::mnuPrinterRand, "Drucker-&Randkorrektur"),
          befehlsEintrag(Befehl::mnuKalibrierkarte, "&Kalibrierkarte drucken")}},
        {"mnuHelp",
         "&?",
         {befehlsEintrag(Befehl::mnuHelpContents, "&Kurzanleitung", "F1"), trennEintrag("mnuHelpBar0"),
          befehlsEintrag(Befehl::mnuHelpAbout, "&Info ", "F2"), trennEintrag("mnuHelpBar1"),
          befehlsEintrag(Befehl::mnu_objZiel_Info, "&eingestellter Drucker geeignet ?"),
          befehlsEintrag(Befehl::mnu_Printer_Info, "&Standard - Drucker geeignet ?")}},
    };
    return m;
}

constexpr double TwipsProZoll = 1440.0;

} // namespace

frmMain::frmMain(Umgebung &umgebung, QWidget *parent)
    : QMainWindow(parent)
    , u(umgebung)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Cardforge"));
    const QIcon symbol = Programmsymbol();
    setWindowIcon(symbol);
    // Windows without a parent, and the About window's picture, take the
    // application's icon.
    if (QApplication::windowIcon().isNull())
        QApplication::setWindowIcon(symbol);
    menueAnlegen();
    verbinden(Befehl::mnuFileOpen, [this] { adifDateiOeffnen(); });
    verbinden(Befehl::mnuFileExit, [this] { close(); });
    verbinden(Befehl::mnuHelpContents, [this] { hilfeZeigen(); });
    verbinden(Befehl::mnuHelpAbout, [this] { frmAbout::zeigen(this); });
    kartenflaecheAnlegen();
    qApp->installEventFilter(this);
}

frmMain::~frmMain() = default;

void frmMain::menueAnlegen()
{
    for (const Menue &m : menues()) {
        QMenu *menue = menuBar()->addMenu(QString::fromUtf8(m.text));
        menue->setObjectName(QString::fromLatin1(m.name));
        for (const Eintrag &e : m.eintraege) {
            if (!e.text) {
                menue->addSeparator()->setObjectName(QString::fromLatin1(e.trenner));
                continue;
            }
            QAction *a = menue->addAction(QString::fromUtf8(e.text));
            a->setObjectName(QString::fromLatin1(befehlNamen[nummer(e.befehl)]));
            Q_ASSERT_X(!m_aktionen[nummer(e.befehl)], "frmMain", "a command in two menu entries");
            m_aktionen[nummer(e.befehl)] = a;
            if (e.taste)
                a->setShortcut(QKeySequence(QString::fromLatin1(e.taste)));
            const Befehl b = e.befehl;
            connect(a, &QAction::triggered, this, [this, b] { befehl(b); });
        }
    }
    Q_ASSERT_X(std::find(m_aktionen.cbegin(), m_aktionen.cend(), nullptr) == m_aktionen.cend(), "frmMain",
               "a command without menu entry");
}

void frmMain::verbinden(Befehl befehl, std::function<void()> handler)
{
    m_handler[nummer(befehl)] = std::move(handler);
}

QStringList frmMain::befehleOhneHandler() const
{
    QStringList namen;
    for (std::size_t i = 0; i < m_handler.size(); ++i) {
        if (!m_handler[i])
            namen << QString::fromLatin1(befehlNamen[i]);
    }
    return namen;
}

QAction *frmMain::aktion(Befehl befehl) const
{
    return m_aktionen[nummer(befehl)];
}

void frmMain::befehl(Befehl befehl)
{
    // A copy: the handler may wire the command anew while it runs.
    const std::function<void()> handler = m_handler[nummer(befehl)];
    if (!handler) {
        // Start-up wires every command; an entry without one is a wiring fault.
        qWarning("frmMain: menu command %s has no handler", befehlNamen[nummer(befehl)]);
        Q_ASSERT_X(false, "frmMain", "menu command without handler");
        return;
    }
    handler();
}

void frmMain::kartenflaecheAnlegen()
{
    m_flaeche = new Kartenflaeche(this);
    m_flaeche->setObjectName(QStringLiteral("Kartenflaeche"));
    m_flaeche->setAutoFillBackground(true);
    QPalette pal = m_flaeche->palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    m_flaeche->setPalette(pal);
    setCentralWidget(m_flaeche);

    m_bild1 = new Kartenhintergrund(m_flaeche);
    m_bild1->setObjectName(QStringLiteral("Bild1"));
    m_bild1->setScaledContents(true);
    // The background: a click on the card goes to the card area.
    m_bild1->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_bild1->lower();

    for (const KartenElement &e : m_vorschau.elemente()) {
        QWidget *w = nullptr;
        if (e.art == KartenElement::Art::Kreuz) {
            auto *box = new QCheckBox(m_flaeche);
            const QString name = e.name;
            connect(box, &QCheckBox::toggled, this, [this, name](bool an) {
                if (!m_zeigtVorschau)
                    m_vorschau[name].gesetzt = an;
            });
            w = box;
        } else {
            auto *label = new QLabel(m_flaeche);
            if (e.art == KartenElement::Art::Bild)
                label->setScaledContents(true);
            w = label;
        }
        w->setObjectName(e.name);
        m_steuer.insert(e.name, w);
    }
    m_flaeche->setSteuerelemente(m_steuer);
    m_flaeche->lage = [this](const QString &name) {
        const KartenElement *e = m_vorschau.finde(name);
        return e ? QPointF(e->links, e->oben) : QPointF();
    };
    m_flaeche->verschieben = [this](const QString &name, QPointF mm) {
        if (elementVerschieben)
            elementVerschieben(name, mm);
    };
    vorschauZeigen();
}

double frmMain::pixelProMm() const
{
    return logicalDpiX() / 25.4;
}

void frmMain::vorschauZeigen()
{
    m_zeigtVorschau = true;
    const double f = pixelProMm();
    for (const KartenElement &e : m_vorschau.elemente()) {
        QWidget *w = m_steuer.value(e.name);
        if (!w)
            continue;
        QFont schrift(e.schriftName);
        schrift.setPointSizeF(e.schriftGroesse);
        schrift.setBold(e.fett);
        w->setFont(schrift);
        const int x = static_cast<int>(std::lround(e.links * f));
        const int y = static_cast<int>(std::lround(e.oben * f));
        if (auto *box = qobject_cast<QCheckBox *>(w)) {
            box->setText(e.text);
            box->setChecked(e.gesetzt);
            box->adjustSize();
            box->move(x, y);
        } else if (auto *label = qobject_cast<QLabel *>(w)) {
            if (e.art == KartenElement::Art::Bild)
                label->setPixmap(QPixmap::fromImage(m_vorschau.unterschrift));
            else
                label->setText(e.text);
            label->setAlignment(e.name == QLatin1String("lbPSE") ? Qt::AlignLeft | Qt::AlignTop
                                                                 : Qt::AlignHCenter | Qt::AlignTop);
            label->setFrameShape(e.rahmen ? QFrame::Box : QFrame::NoFrame);
            w->setGeometry(x, y, static_cast<int>(std::lround(e.breite * f)),
                           static_cast<int>(std::lround(e.hoehe * f)));
        }
        w->setVisible(e.sichtbar);
    }
    // The card's outline and grid, and picking controls by hand, go with the
    // layout window's marking.
    m_bild1->setKarte(QSizeF(u.z.QSLWidth, u.z.QSLHeight), f);
    m_bild1->setRaster(m_vorschau.markiert);
    m_flaeche->setZiehen(m_vorschau.markiert);
    m_flaeche->rahmenNachfuehren();
    m_zeigtVorschau = false;
}

bool frmMain::scanLaden(const QString &pfad)
{
    QImage bild;
    if (!bild.load(pfad))
        return false;
    m_scan = bild;
    m_bild1->setPixmap(QPixmap::fromImage(m_scan));
    m_bild1->setUmriss(false);
    return true;
}

bool frmMain::unterschriftLaden(const QString &pfad)
{
    QImage bild;
    if (!bild.load(pfad))
        return false;
    m_vorschau.unterschrift = bild;
    vorschauZeigen();
    return true;
}

void frmMain::bild1Zeigen(bool sichtbar)
{
    m_bild1->setVisible(sichtbar);
}

void frmMain::statusMelden(const QString &text)
{
    // The bar appears with its first message; the window grows by its height
    // so that the card area, and the card scan stretched over it, keep their
    // size.
    const bool neu = !findChild<QStatusBar *>(QString(), Qt::FindDirectChildrenOnly);
    QStatusBar *leiste = statusBar();
    if (neu && !isMaximized() && !isFullScreen() && !isMinimized()) {
        resize(width(), height() + leiste->sizeHint().height());
        leiste->setProperty("angewachsen", leiste->sizeHint().height());
    }
    leiste->showMessage(text);
}

void frmMain::laden()
{
    geometrieWiederherstellen();
    const QString scan = Einstellung(QStringLiteral("Picture"));
    if (!scan.isEmpty())
        scanLaden(scan);
    const QString unterschrift = Einstellung(QStringLiteral("Unterschrift"));
    if (!unterschrift.isEmpty())
        unterschriftLaden(unterschrift);
    QCoreApplication::processEvents();

    Zustand &z = u.z;
    DruckerEinstellungenLesen(z);
    if (z.RandOben > 0 || z.RandLinks > 0) {
        QApplication::restoreOverrideCursor();
        u.meldungen.zeigen(QStringLiteral(" Fehler: Druckrand-Korrektur "), RandkorrekturText(), Symbol::Ausruf,
                           Knoepfe::Ok);
        // Only for this run; the corrected values are stored at program end.
        if (z.RandOben > 0)
            z.RandOben = 0;
        if (z.RandLinks > 0)
            z.RandLinks = 0;
    }
    QCoreApplication::processEvents();

    if (z.objZiel) {
        z.objZiel->setOrientation(z.DrFormat);
        z.objZiel->setPaperSize(z.DrGroesse);
        z.objZiel->setPaperBin(z.DrBehaelter);
    }
}

void frmMain::geometrieWiederherstellen()
{
    const char *schluessel[] = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};
    for (int i = 0; i < 4; ++i) {
        float wert = m_twips[i];
        if (EinstellungLesen(QString::fromLatin1(schluessel[i]), wert) && std::isfinite(wert)
            && std::fabs(wert) < 1.0e6f)
            m_twips[i] = wert;
    }
    const double f = logicalDpiX() / TwipsProZoll;
    m_twipsPixel = QRect(static_cast<int>(std::lround(m_twips[0] * f)), static_cast<int>(std::lround(m_twips[1] * f)),
                         std::max(1, static_cast<int>(std::lround(m_twips[2] * f))),
                         std::max(1, static_cast<int>(std::lround(m_twips[3] * f))));
    move(m_twipsPixel.topLeft());
    resize(m_twipsPixel.size());
}

void frmMain::geometrieSpeichern()
{
    QRect aussen(pos(), size());
    // The status bar is not part of the stored window: the next start has none.
    if (const QStatusBar *leiste = findChild<QStatusBar *>(QString(), Qt::FindDirectChildrenOnly))
        aussen.setHeight(aussen.height() - leiste->property("angewachsen").toInt());
    if (aussen != m_twipsPixel) {
        const double f = TwipsProZoll / logicalDpiX();
        m_twips[0] = static_cast<float>(aussen.x() * f);
        m_twips[1] = static_cast<float>(aussen.y() * f);
        m_twips[2] = static_cast<float>(aussen.width() * f);
        m_twips[3] = static_cast<float>(aussen.height() * f);
    }
    const char *schluessel[] = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};
    for (int i = 0; i < 4; ++i)
        EinstellungSpeichern(QString::fromLatin1(schluessel[i]), m_twips[i]);
}

void frmMain::schliessSchritte()
{
    if (m_geschlossen)
        return;
    m_geschlossen = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Zustand &z = u.z;
    if (logsSchreiben)
        logsSchreiben();
    QCoreApplication::processEvents();
    EinstellungSpeichernGanz(QStringLiteral("DrFormat"), z.DrFormat);
    EinstellungSpeichernGanz(QStringLiteral("DrGroesse"), z.DrGroesse);
    EinstellungSpeichernGanz(QStringLiteral("DrBehaelter"), z.DrBehaelter);
    // A correction the margin window refused never replaces the stored one.
    if (RandGueltig(z.RandOben))
        EinstellungSpeichern(QStringLiteral("PrinterRandOben"), z.RandOben);
    if (RandGueltig(z.RandLinks))
        EinstellungSpeichern(QStringLiteral("PrinterRandlinks"), z.RandLinks);
    if (!z.AdifDatGes.isEmpty())
        EinstellungSpeichern(QStringLiteral("AdifDatGes"), z.AdifDatGes);
    if (!isMinimized())
        geometrieSpeichern();
    // The other windows, the most recently opened first; hidden ones (such as
    // the card layout window) are not asked.
    const QList<QPointer<QWidget>> fenster = m_geoeffnet;
    for (auto it = fenster.crbegin(); it != fenster.crend(); ++it) {
        if (*it && (*it)->isVisible())
            (*it)->close();
    }
    QApplication::restoreOverrideCursor();
}

bool frmMain::eventFilter(QObject *objekt, QEvent *event)
{
    if (event->type() == QEvent::Show && objekt->isWidgetType() && objekt != this) {
        auto *w = static_cast<QWidget *>(objekt);
        if (w->isWindow()) {
            m_geoeffnet.removeIf([w](const QPointer<QWidget> &f) { return !f || f == w; });
            m_geoeffnet.append(w);
        }
    }
    return QMainWindow::eventFilter(objekt, event);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    schliessSchritte();
    event->accept();
    // Hidden windows (the card layout window) must not keep the program alive.
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void frmMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_geschlossen)
        aktQsoZeigen();
}

void frmMain::aktQsoZeigen()
{
    if (layoutBereitstellen)
        layoutBereitstellen();
    ZeigeAktQSO(u.z, m_vorschau);
    vorschauZeigen();
}

void frmMain::nachVorne()
{
    if (m_geschlossen)
        return;
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    aktQsoZeigen();
}

void frmMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    const double f = pixelProMm();
    // The card scan fills the card area, sized in whole millimetres.
    const int breite = static_cast<int>(std::lround(std::round(m_flaeche->width() / f) * f));
    const int hoehe = static_cast<int>(std::lround(std::round(m_flaeche->height() / f) * f));
    m_bild1->setGeometry(0, 0, breite, hoehe);
    m_bild1->setVisible(true);
    m_bild1->lower();
}

QString frmMain::hilfeDokument()
{
    return ProgrammDatei(QStringLiteral("Cardforge.pdf"));
}

void frmMain::hilfeZeigen()
{
    const QString dokument = hilfeDokument();
    QString fehler;
    if (DateiVorhanden(dokument)) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const QString programm = ProgrammFuerDatei(dokument);
        bool gestartet = false;
        if (!programm.isEmpty() && DateiVorhanden(programm)) {
            QPointer<frmMain> selbst(this);
            gestartet = StarteMitDatei(programm, dokument, &fehler, [selbst, dokument] {
                if (selbst && !selbst->m_geschlossen)
                    selbst->hilfeMelden(dokument, QString());
            });
            QCoreApplication::processEvents();
        }
        QApplication::restoreOverrideCursor();
        if (gestartet)
            return;
    }
    hilfeMelden(dokument, fehler);
}

void frmMain::hilfeMelden(const QString &dokument, const QString &fehler)
{
    const QString &crlf = u.z.CrLf;
    const QString text = !fehler.isEmpty()
                             ? fehler
                             : QStringLiteral("Es wurde keine PDF-Datei gefunden! ") + crlf
                                   + QStringLiteral("Hilfe finden Sie in der Datei ") + crlf + dokument + crlf;
    u.meldungen.zeigen(QStringLiteral(" Hilfe"), text, Symbol::Kritisch, Knoepfe::Ok);
}

void frmMain::adifDateiOeffnen()
{
    const QString pfad = AdifDateiDialog(u, false);
    if (pfad.isEmpty() || !PfadeOhneStrichpunkt(u.meldungen, {pfad}))
        return;
    u.z.AdifDatGes = pfad + QLatin1Char(';');
    u.z.AdifDatei = AdifDateiAusListe(u.z, u.meldungen, u.z.AdifDatGes, 0);
}
