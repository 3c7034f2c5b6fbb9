#include "mainwindow/frmMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>

frmMain::frmMain(Umgebung &umgebung, QWidget *parent)
    : QMainWindow(parent)
    , u(umgebung)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Cardforge"));
    menueAnlegen();
    resize(537, 397);
}

void frmMain::menueAnlegen()
{
    QMenu *datei = menuBar()->addMenu(QStringLiteral("&Datei"));
    datei->setObjectName(QStringLiteral("mnuFile"));
    QAction *beenden = datei->addAction(QStringLiteral("&Beenden"));
    beenden->setObjectName(QStringLiteral("mnuFileExit"));
    connect(beenden, &QAction::triggered, this, &QWidget::close);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    event->accept();
    // Hidden windows (the card layout window) must not keep the program alive.
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}
