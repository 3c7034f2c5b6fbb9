#include "seams/QtMeldungen.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

Antwort QtMeldungen::zeigen(const QString &titel, const QString &text, Symbol symbol, Knoepfe knoepfe)
{
    QWidget *eltern = QApplication::activeWindow() ? QApplication::activeWindow() : m_eltern.data();
    QMessageBox box(eltern);
    box.setWindowTitle(titel);
    box.setText(text);
    switch (symbol) {
    case Symbol::Keins: box.setIcon(QMessageBox::NoIcon); break;
    case Symbol::Kritisch: box.setIcon(QMessageBox::Critical); break;
    case Symbol::Frage: box.setIcon(QMessageBox::Question); break;
    case Symbol::Ausruf: box.setIcon(QMessageBox::Warning); break;
    case Symbol::Information: box.setIcon(QMessageBox::Information); break;
    }
    QMessageBox::StandardButtons knoepfeQt;
    switch (knoepfe) {
    case Knoepfe::Ok: knoepfeQt = QMessageBox::Ok; break;
    case Knoepfe::OkAbbrechen: knoepfeQt = QMessageBox::Ok | QMessageBox::Cancel; break;
    case Knoepfe::AbbrechenWiederholenIgnorieren:
        knoepfeQt = QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
        break;
    case Knoepfe::JaNeinAbbrechen: knoepfeQt = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    case Knoepfe::JaNein: knoepfeQt = QMessageBox::Yes | QMessageBox::No; break;
    case Knoepfe::WiederholenAbbrechen: knoepfeQt = QMessageBox::Retry | QMessageBox::Cancel; break;
    }
    box.setStandardButtons(knoepfeQt);
    // The German captions, whatever translations are installed.
    const struct
    {
        QMessageBox::StandardButton knopf;
        const char *text;
    } texte[] = {
        {QMessageBox::Ok, "OK"},
        {QMessageBox::Cancel, "Abbrechen"},
        {QMessageBox::Abort, "Abbrechen"},
        {QMessageBox::Retry, "Wiederholen"},
        {QMessageBox::Ignore, "Ignorieren"},
        {QMessageBox::Yes, "&Ja"},
        {QMessageBox::No, "&Nein"},
    };
    for (const auto &t : texte) {
        if (QAbstractButton *k = box.button(t.knopf))
            k->setText(QString::fromUtf8(t.text));
    }

    const bool zeiger = QApplication::overrideCursor() != nullptr;
    if (zeiger)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int ergebnis = box.exec();
    if (zeiger)
        QApplication::restoreOverrideCursor();

    switch (ergebnis) {
    case QMessageBox::Ok: return Antwort::Ok;
    case QMessageBox::Cancel: return Antwort::Abbrechen;
    case QMessageBox::Abort: return Antwort::Abbruch;
    case QMessageBox::Retry: return Antwort::Wiederholen;
    case QMessageBox::Ignore: return Antwort::Ignorieren;
    case QMessageBox::Yes: return Antwort::Ja;
    case QMessageBox::No: return Antwort::Nein;
    default: break;
    }
    // Closed with the window's close box or Escape: the dialog's cancel answer.
    switch (knoepfe) {
    case Knoepfe::Ok: return Antwort::Ok;
    case Knoepfe::JaNein: return Antwort::Nein;
    case Knoepfe::AbbrechenWiederholenIgnorieren: return Antwort::Abbruch;
    default: return Antwort::Abbrechen;
    }
}
