#pragma once

#include "core/Umgebung.h"

#include <QMainWindow>

class QAction;

// The main window: the card preview and the menu from which every window and
// command is reached. Closing it ends the program.
class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmMain(Umgebung &umgebung, QWidget *parent = nullptr);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void menueAnlegen();

    Umgebung &u;
};
