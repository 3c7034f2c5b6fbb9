#pragma once

#include "core/Meldungen.h"

#include <QPointer>
#include <QWidget>

// Message boxes shown with QMessageBox, centred over the main window.
class QtMeldungen : public Meldungen
{
public:
    void setElternfenster(QWidget *fenster) { m_eltern = fenster; }
    Antwort zeigen(const QString &titel, const QString &text, Symbol symbol, Knoepfe knoepfe) override;

private:
    QPointer<QWidget> m_eltern;
};
