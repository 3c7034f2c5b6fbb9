#pragma once

#include "core/CommonDialog.h"

#include <QPointer>
#include <QWidget>

// The common dialogs on Qt's file and print dialogs.
class QtDialoge : public Dialoge
{
public:
    void setElternfenster(QWidget *fenster) { m_eltern = fenster; }
    DialogErgebnis ShowOpen(CommonDialog &dlg, QString *fehler = nullptr) override;
    DialogErgebnis ShowPrinter(CommonDialog &dlg, QString *fehler = nullptr) override;

private:
    QPointer<QWidget> m_eltern;
};
