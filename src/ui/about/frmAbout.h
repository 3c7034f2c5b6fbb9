#pragma once

#include <QWidget>

// The About window: what the program is, its file name and version, and a
// notice on its use. Closed with "OK", which destroys it.
class frmAbout : public QWidget
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget *parent = nullptr);

    // Shows the one About window, creating it when it does not exist.
    static frmAbout *zeigen(QWidget *hauptfenster);
};
