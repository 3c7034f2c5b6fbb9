#include "Start.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char **argv)
{
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
