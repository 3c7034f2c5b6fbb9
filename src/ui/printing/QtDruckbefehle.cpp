#include "printing/QtDruckbefehle.h"

#include "core/Umgebung.h"
#include "mainwindow/QsoAnzeige.h"
#include "mainwindow/frmMain.h"
#include "printing/Bildbefehle.h"
#include "printing/Drucken.h"
#include "printing/DruckerBericht.h"
#include "printing/DruckerEinrichtung.h"
#include "printing/DruckerZiel.h"
#include "printing/frmDruckRand.h"

#include <QDir>

void DruckenAnbinden(Umgebung &umgebung, frmMain &haupt)
{
    Umgebung *u = &umgebung;
    frmMain *h = &haupt;

    haupt.verbinden(Befehl::mnuFilePrint, [u, h] {
        DruckRueckrufe rueckrufe;
        rueckrufe.bild1Sichtbar = [h](bool sichtbar) { h->bild1Zeigen(sichtbar); };
        rueckrufe.dateiGeschrieben = [h](const QString &datei) {
            h->statusMelden(QStringLiteral("QSL-Karte als PDF-Datei gespeichert: ") + QDir::toNativeSeparators(datei));
        };
        // While the layout editor marks the preview, empty fields show the
        // items' names there; the card carries the QSO's own texts only.
        Kartenvorschau karte = h->vorschau();
        if (karte.markiert) {
            karte.markiert = false;
            ZeigeAktQSO(u->z, karte);
        }
        Drucken(*u, karte, rueckrufe);
    });
    haupt.verbinden(Befehl::mnuPrinterSetup, [u] { DruckerEinrichten(*u); });
    haupt.verbinden(Befehl::mnuPrinterRand, [u, h] { frmDruckRand::zeigen(*u, h); });
    haupt.verbinden(Befehl::mnuKalibrierkarte, [u, h] {
        KalibrierkarteDrucken(*u, [h](const QString &datei) {
            h->statusMelden(QStringLiteral("Kalibrierkarte als PDF-Datei gespeichert: ")
                            + QDir::toNativeSeparators(datei));
        });
    });
    haupt.verbinden(Befehl::mnu_objZiel_Info, [u] {
        if (!u->z.objZiel)
            return;
        u->meldungen.zeigen(BerichtTitelZiel, DruckerBericht(*u->z.objZiel, *u->z.objZiel), Symbol::Information,
                            Knoepfe::Ok);
    });
    haupt.verbinden(Befehl::mnu_Printer_Info, [u] {
        if (!u->z.objZiel)
            return;
        // The cards usually go to the default printer, and then both reports
        // describe the same printer. A printer chosen in the set-up need not be
        // the system's default; then the default one is asked, in the unit the
        // cards are drawn in.
        DruckerZiel standard;
        const bool derselbe = standard.DeviceName() == u->z.objZiel->DeviceName();
        if (!derselbe)
            standard.setScaleMode(u->z.objZiel->ScaleMode());
        const Zeichenziel &drucker = derselbe ? *u->z.objZiel : static_cast<const Zeichenziel &>(standard);
        u->meldungen.zeigen(BerichtTitelStandard, DruckerBericht(drucker, *u->z.objZiel), Symbol::Information,
                            Knoepfe::Ok);
    });
    haupt.verbinden(Befehl::mnuScanSetup, [u, h] {
        BildEinlesen(u->dialoge, KartenScan(), [h](const QString &pfad) { return h->scanLaden(pfad); });
    });
    haupt.verbinden(Befehl::mnuUnterschriftScan, [u, h] {
        BildEinlesen(u->dialoge, UnterschriftScan(), [h](const QString &pfad) { return h->unterschriftLaden(pfad); });
    });
}
