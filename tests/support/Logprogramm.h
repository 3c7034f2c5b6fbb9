#pragma once

#include "SkriptUmgebung.h"
#include "TestUmgebung.h"
#include "core/Hilfen.h"
#include "logwindows/StartLogfenster.h"
#include "mainwindow/frmMain.h"

// Two logs as another logger writes them, a main window with scripted message
// boxes and dialogs, and the log windows hooked in as at start-up.
struct Logprogramm : SkriptUmgebung
{
    QTemporaryDir ordner;
    frmMain haupt{u};

    Logprogramm() { LogfensterAnbinden(u, haupt); }

    // A log with another logger's header and the given records.
    QString log(const QString &name, const QByteArray &saetze)
    {
        DateiSchreiben(ordner.filePath(name), "Log\r\n<ADIF_VER:5>3.1.4\r\n<EOH>\r\n" + saetze);
        return ordner.filePath(name);
    }
    QString logA()
    {
        return log("A.adi", "<CALL:5>Q1ABC<QSO_DATE:8>20230521<TIME_ON:4>1234<RST_SENT:2>59<MODE:3>SSB<FREQ:5>144.3"
                            "<PROP_MODE:5>TROPO<EOR>\r\n"
                            "<CALL:5>Q3DEF<QSO_DATE:8>20230601<TIME_ON:4>0815<RST_SENT:3>599<MODE:2>CW<FREQ:4>14.2"
                            "<PROP_MODE:2>ES<QSL_VIA:5>Q1ABC<EOR>\r\n"
                            "<call:8>Q7/Q2ABC<qso_date:8>20230703<time_on:6>101500<mode:3>FT8<freq:6>432.20<eor>\r\n");
    }
    QString logB()
    {
        return log("B.adi",
                   "<CALL:5>Q4GHI<QSO_DATE:8>20220101<TIME_ON:4>0000<MODE:3>SSB<FREQ:7>145.500<EOR>\r\n"
                   "<CALL:5>Q1ABC<QSO_DATE:8>20220202<TIME_ON:4>1111<MODE:2>FM<FREQ:3>145<QSL_SEND:1>Y<EOR>\r\n");
    }
    // The file list as the finder leaves it, its first file current.
    void liste(const QStringList &pfade)
    {
        z.AdifDatGes = pfade.isEmpty() ? QString() : pfade.join(';') + ';';
        z.AdifDatei = AdifDateiAusListe(z, meldungen, z.AdifDatGes, 0);
    }

    // The menu command; the window it shows, if any.
    QWidget *menue(Befehl befehl, const char *name)
    {
        haupt.aktion(befehl)->trigger();
        const QWidgetList fenster = QApplication::topLevelWidgets();
        const auto w =
            std::find_if(fenster.cbegin(), fenster.cend(), [&](QWidget *w) { return w->objectName() == name; });
        return w == fenster.cend() ? nullptr : *w;
    }

    template <typename W>
    static W *element(QWidget *f, const QString &name)
    {
        W *w = f->findChild<W *>(name);
        return w ? w : (qFatal("no control %s", qPrintable(name)), nullptr);
    }
    static QString text(QWidget *f, const QString &name) { return element<QLineEdit>(f, name)->text(); }
    static void setzen(QWidget *f, const QString &name, const QString &w) { element<QLineEdit>(f, name)->setText(w); }
    // Several fields at once: "Text1=value;Text2=value".
    static void setzen(QWidget *f, const QString &felder)
    {
        for (const QString &a : felder.split(';', Qt::SkipEmptyParts))
            setzen(f, a.section('=', 0, 0), a.section('=', 1));
    }
    // The user leaves the field with Tab.
    static void verlassen(QWidget *f, const QString &name)
    {
        QFocusEvent aus(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(element<QLineEdit>(f, name), &aus);
    }
    // Clicks the buttons named, separated by blanks.
    static void klick(QWidget *f, const QString &namen)
    {
        for (const QString &n : namen.split(' ', Qt::SkipEmptyParts))
            element<QAbstractButton>(f, n)->click();
    }

    // The message boxes shown, as "title:text".
    static QStringList meldungsliste(const SkriptMeldungen &m)
    {
        QStringList l;
        for (const SkriptMeldungen::Aufruf &a : m.aufrufe())
            l << a.titel + ':' + a.text;
        return l;
    }
    static QString heute() { return QDate::currentDate().toString("yyyyMMdd"); }
};
