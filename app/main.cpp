#include "Befehlszeile.h"
#include "Start.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QStringList argumente;
    for (int i = 1; i < argc; ++i)
        argumente.append(QString::fromLocal8Bit(argv[i]));
    // The command line needs no display; the fonts come from the same font
    // configuration as in the window, so the cards are the same.
    if (OhneFenster(argumente)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        AnwendungEinrichten(app);
        return BefehlszeileAusfuehren(argumente);
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
