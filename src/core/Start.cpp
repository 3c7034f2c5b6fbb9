#include "core/Start.h"

#include "core/Ablauf.h"
#include "core/Einstellungen.h"
#include "core/Hilfen.h"
#include "core/Umgebung.h"
#include "mainwindow/QtDialoge.h"
#include "mainwindow/QtMeldungen.h"
#include "mainwindow/frmMain.h"
#include "printing/DruckerZiel.h"

#include <QApplication>
#include <memory>

int Start(QApplication &app)
{
    app.setApplicationName(QStringLiteral("Cardforge"));
    app.setOrganizationName(QStringLiteral("Cardforge"));

    Zustand z;
    QtMeldungen meldungen;
    QtDialoge dialoge;
    Umgebung u{z, meldungen, dialoge};

    auto hauptfenster = std::make_unique<frmMain>(u);
    z.fMainForm = hauptfenster.get();
    meldungen.setElternfenster(hauptfenster.get());
    dialoge.setElternfenster(hauptfenster.get());

    DruckerZiel drucker;
    z.objZiel = &drucker;

    const bool weiter = SchritteAusfuehren(
        {
            [&] { z.AktQsoLeeren(); },
            [&] { z.AdifDatGes = Einstellung(QStringLiteral("AdifDatGes")); },
            [&] { z.AdifDatei = AdifDateiAusListe(z, meldungen, z.AdifDatGes, 0); },
            [&] { hauptfenster->show(); },
        },
        meldungen);
    // Abort before the main window was shown leaves nothing the user could
    // close, so the program ends.
    if (!weiter && !hauptfenster->isVisible())
        return 1;
    return app.exec();
}
