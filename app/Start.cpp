#include "Start.h"

#include "adif/AdifSchreiben.h"
#include "core/Ablauf.h"
#include "core/Einstellungen.h"
#include "core/Hilfen.h"
#include "core/Umgebung.h"
#include "layout/Kartenlayout.h"
#include "layout/frmQSL_Karte.h"
#include "logwindows/StartLogfenster.h"
#include "mainwindow/frmFindADIF.h"
#include "mainwindow/frmMain.h"
#include "printing/Drucken.h"
#include "printing/DruckerEinrichtung.h"
#include "printing/DruckerZiel.h"
#include "printing/QtDruckbefehle.h"
#include "printing/frmQslStapel.h"
#include "seams/QtDialoge.h"
#include "seams/QtMeldungen.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QTranslator>
#include <csignal>
#include <cstdio>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalSockets[2] = {-1, -1};

void signalEmpfangen(int)
{
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalSockets[0], &c, 1);
}

// SIGTERM, SIGHUP and SIGINT close the main window like the user would, so the
// close step runs and no printed mark is lost. The handler only writes a byte;
// the event loop does the rest once the returned notifier is enabled.
QSocketNotifier *signaleAbfangen(frmMain *fenster)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalSockets) != 0)
        return nullptr;
    auto *melder = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, fenster);
    melder->setEnabled(false);
    QObject::connect(melder, &QSocketNotifier::activated, fenster, [fenster] {
        char c = 0;
        [[maybe_unused]] const ssize_t n = ::read(signalSockets[1], &c, 1);
        fenster->close();
    });
    struct sigaction sa = {};
    sa.sa_handler = signalEmpfangen;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int s : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(s, &sa, nullptr);
    return melder;
}

} // namespace

void AnwendungEinrichten(QApplication &app)
{
    app.setApplicationName(QStringLiteral("Cardforge"));
    app.setOrganizationName(QStringLiteral("Cardforge"));
    app.setDesktopFileName(QStringLiteral("cardforge"));
    // qt_de gathers the German texts of every Qt module; qtbase_de alone is
    // what a minimal installation may have.
    const QString ordner = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char *katalog : {"qtbase_de", "qt_de"}) {
        auto *uebersetzung = new QTranslator(&app);
        if (uebersetzung->load(QString::fromLatin1(katalog), ordner))
            QCoreApplication::installTranslator(uebersetzung);
        else
            delete uebersetzung;
    }
}

namespace {

const QString ErsteSchritteText = QStringLiteral(
    "Erste Schritte: Settings → QSL-Karte einrichten → „Beispiel laden“ oder eigenen Karten-Scan einlesen");

} // namespace

void BefehleAnbinden(Umgebung &umgebung, frmMain &haupt)
{
    DateisucheAnbinden(umgebung, haupt);
    LayoutfensterAnbinden(umgebung, haupt);
    LogfensterAnbinden(umgebung, haupt);
    DruckenAnbinden(umgebung, haupt);
    QslStapelAnbinden(umgebung, haupt);
    Q_ASSERT_X(haupt.befehleOhneHandler().isEmpty(), "BefehleAnbinden",
               qPrintable(QStringLiteral("menu entries without handler: ")
                          + haupt.befehleOhneHandler().join(QStringLiteral(", "))));
}

int Start(QApplication &app)
{
    AnwendungEinrichten(app);

    Zustand z;
    QtMeldungen meldungen;
    QtDialoge dialoge;
    Umgebung u{z, meldungen, dialoge};

    // The printer outlives the main window, whose close step may still use it.
    // It is the one chosen in the last printer set-up, or the system's default.
    DruckerZiel drucker(Einstellung(DruckernameSchluessel));

    auto hauptfenster = std::make_unique<frmMain>(u);
    z.fMainForm = hauptfenster.get();
    meldungen.setElternfenster(hauptfenster.get());
    dialoge.setElternfenster(hauptfenster.get());
    z.objZiel = &drucker;
    BefehleAnbinden(u, *hauptfenster);
    // A mark that could not be written right after its card is written now.
    hauptfenster->logsSchreiben = [&u] { AdifDateiSchreiben(u); };
    // Caught before the window shows, so that a session ending as soon as the
    // window is there still gets the close step; acted on only after the load,
    // whose pauses for pending events must not close a half-loaded window and
    // store its defaults over the user's settings.
    QSocketNotifier *signalMelder = signaleAbfangen(hauptfenster.get());

    const bool weiter = SchritteAusfuehren({
                                               [&] { z.AktQsoLeeren(); },
                                               [&] { z.AdifDatGes = Einstellung(QStringLiteral("AdifDatGes")); },
                                               [&] { z.AdifDatei = AdifDateiAusListe(z, meldungen, z.AdifDatGes, 0); },
                                               [&] { LayoutFenster(u, *hauptfenster); },
                                               [&] {
                                                   hauptfenster->laden();
                                                   hauptfenster->show();
                                                   // A first start shows the items piled in the corner;
                                                   // the status bar says how to begin.
                                                   if (!LayoutGespeichert())
                                                       hauptfenster->statusMelden(ErsteSchritteText);
                                               },
                                           },
                                           meldungen);
    // Abort before the main window was shown leaves nothing the user could
    // close, so the program ends.
    if (!weiter && !hauptfenster->isVisible())
        return 1;
    if (signalMelder)
        signalMelder->setEnabled(true);

    // Logging out of the desktop session ends the program like closing it.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, hauptfenster.get(),
                     [&](QSessionManager &) { hauptfenster->schliessSchritte(); });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, hauptfenster.get(),
                     [&] { hauptfenster->schliessSchritte(); });
    return app.exec();
}
