#include "Befehlszeile.h"
#include "Start.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QStringList argumente;
    for (int i = 1; i < argc; ++i)
        argumente << QString::fromLocal8Bit(argv[i]);
    const Befehlszeile befehl = BefehlszeileLesen(argumente);
    switch (befehl.art) {
    case Befehlszeile::Art::Hilfe: std::fputs(qPrintable(BefehlszeileHilfe()), stdout); return 0;
    case Befehlszeile::Art::Fehler:
        std::fprintf(stderr, "cardforge: %s\n\"cardforge --help\" zeigt, was geht.\n", qPrintable(befehl.fehler));
        return 1;
    case Befehlszeile::Art::Kalibrierkarte: {
        // No window opens, so no display is needed; the card's fonts and
        // measures are the same on the offscreen platform.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        AnwendungEinrichten(app);
        return KalibrierkarteOhneFenster(befehl.pdfDatei);
    }
    case Befehlszeile::Art::Fenster: break;
    }

    // Qt aborts with a long message when there is no display; tell the user what
    // to do instead.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::fprintf(stderr, "Cardforge ist ein Desktop-Programm und braucht eine grafische Sitzung; "
                             "ohne Bildschirm lässt es sich mit \"xvfb-run build/cardforge\" ausprobieren.\n");
        return 2;
    }
    QApplication app(argc, argv);
    return Start(app);
}
