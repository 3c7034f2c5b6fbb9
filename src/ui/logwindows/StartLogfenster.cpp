#include "logwindows/StartLogfenster.h"

#include "logwindows/frmADIF.h"
#include "logwindows/frmHandEingabe.h"
#include "mainwindow/frmMain.h"
#include "station/frmCall.h"
#include "station/frmStation.h"

#include <QPointer>

namespace {

// The four windows of one main window; they are top-level windows of their
// own, so they do not stay on top of the card, and go when it goes.
class LogfensterHalter : public QObject
{
public:
    using QObject::QObject;
    ~LogfensterHalter() override
    {
        delete adif.data();
        delete hand.data();
        delete call.data();
        delete station.data();
    }

    QPointer<frmADIF> adif;
    QPointer<frmHandEingabe> hand;
    QPointer<frmCall> call;
    QPointer<frmStation> station;
};

void nachVorn(QWidget *fenster)
{
    fenster->show();
    fenster->raise();
    fenster->activateWindow();
}

} // namespace

void LogfensterAnbinden(Umgebung &umgebung, frmMain &haupt)
{
    auto *h = new LogfensterHalter(&haupt);
    QPointer<LogfensterHalter> halter(h);

    haupt.verbinden(Befehl::mnuADIFLog, [&umgebung, &haupt, halter] {
        if (!halter)
            return;
        if (!halter->adif) {
            auto *f = new frmADIF(umgebung, haupt);
            if (!f->Form_Load()) {
                delete f;
                return;
            }
            halter->adif = f;
        }
        nachVorn(halter->adif);
    });
    haupt.verbinden(Befehl::mnuEditLog, [&umgebung, &haupt, halter] {
        if (!halter)
            return;
        if (!halter->hand) {
            halter->hand = new frmHandEingabe(umgebung, haupt);
            halter->hand->Form_Load();
        }
        nachVorn(halter->hand);
    });
    haupt.verbinden(Befehl::mnuMyCall, [halter] {
        if (!halter)
            return;
        if (!halter->call) {
            halter->call = new frmCall;
            halter->call->Form_Load();
        }
        nachVorn(halter->call);
    });
    haupt.verbinden(Befehl::mnuStation, [halter] {
        if (!halter)
            return;
        // Closed with "&Schliessen" or the close box it is gone; the next
        // opening loads it anew.
        if (!halter->station) {
            halter->station = new frmStation;
            halter->station->Form_Load();
        }
        nachVorn(halter->station);
    });
}
