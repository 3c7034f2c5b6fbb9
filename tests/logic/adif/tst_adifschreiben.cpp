#include "TestUmgebung.h"

#include "AdifUmfeld.h"
#include "adif/AdifFormat.h"
#include "adif/AdifLesen.h"
#include "adif/AdifSchreiben.h"
#include "core/Einstellungen.h"

#include <QApplication>

using Setzen = std::function<void(QsoDaten &)>;
Q_DECLARE_METATYPE(Setzen)

class TestAdifSchreiben : public QObject, AdifUmfeld
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        frisch();
        EinstellungSpeichern(QStringLiteral("MyCall"), QString());
        EinstellungSpeichern(QStringLiteral("MyLoc"), QString());
    }

    // The record line of a QSO of Q1ABC with the given data.
    void bauen_data()
    {
        Spalten<Setzen, QString>({"setzen", "zeile"});
        Zeile("the record of the manual", Setzen([](QsoDaten &q) {
                  q.Datum = QDate(2023, 5, 21);
                  q.UTC = "12.34";
                  q.RST = "59";
                  q.Mode = "SSB";
                  q.MHz = 144.3f;
              }),
              "<CALL:5>Q1ABC<QSO_DATE:8>20230521<QSO_DATE_OFF:8>20230521<TIME_OFF:6>123400<TIME_ON:6>123400"
              "<RST_SENT:2>59<MODE:3>SSB<FREQ:5>144.3<BAND:2>2m<EOR>");
        Zeile("no date, no time, 0 MHz", Setzen([](QsoDaten &) {}), "<CALL:5>Q1ABC<EOR>");
        Zeile("time 9.05", Setzen([](QsoDaten &q) { q.UTC = "9.05"; }),
              "<CALL:5>Q1ABC<TIME_OFF:6>090500<TIME_ON:6>090500<EOR>");
        Zeile("time 1234", Setzen([](QsoDaten &q) { q.UTC = "1234"; }),
              "<CALL:5>Q1ABC<TIME_OFF:6>123400<TIME_ON:6>123400<EOR>");
        Zeile("no time of day", Setzen([](QsoDaten &q) { q.UTC = "25:00"; }), "<CALL:5>Q1ABC<EOR>");
        Zeile("date as typed", Setzen([](QsoDaten &q) { q.Datum = "2023/05/21"; }),
              "<CALL:5>Q1ABC<QSO_DATE:8>20230521<QSO_DATE_OFF:8>20230521<EOR>");
        Zeile("7 MHz", Setzen([](QsoDaten &q) { q.MHz = 7.0f; }), "<CALL:5>Q1ABC<FREQ:3>7.0<BAND:3>40m<EOR>");
        Zeile("upper band edge in single precision", Setzen([](QsoDaten &q) { q.MHz = 14.35f; }),
              "<CALL:5>Q1ABC<FREQ:5>14.35<BAND:3>20m<EOR>");
        Zeile("CB frequency: in no ADIF band", Setzen([](QsoDaten &q) { q.MHz = 27.555f; }),
              "<CALL:5>Q1ABC<FREQ:6>27.555<EOR>");
        Zeile("short wave has no ADIF value", Setzen([](QsoDaten &q) { q.QSOvia = "SW"; }), "<CALL:5>Q1ABC<EOR>");
        Zeile("eQSL sent", Setzen([](QsoDaten &q) {
                  q.QslMedium = "eQSL";
                  q.QslSent = true;
                  q.QslSDate = "20230601";
              }),
              "<CALL:5>Q1ABC<EQSL_QSL_SEND:1>Y<EQSL_QSLSDATE:8>20230601<EOR>");
        Zeile("unknown medium", Setzen([](QsoDaten &q) {
                  q.QslMedium = "Papier";
                  q.QslSent = true;
              }),
              "<CALL:5>Q1ABC<EOR>");
        Zeile("empty medium is paper, received first", Setzen([](QsoDaten &q) {
                  q.QslSent = q.QslRcvd = true;
                  q.QslSDate = "20230601";
                  q.QslRDate = "20230602";
              }),
              "<CALL:5>Q1ABC<QSL_RCVD:1>Y<QSLRDATE:8>20230602<QSL_SEND:1>Y<QSLSDATE:8>20230601<EOR>");
        Zeile("route upper-cased, propagation, comment on one line", Setzen([](QsoDaten &q) {
                  q.QSLvia = "q1abc";
                  q.QSOvia = "ES";
                  q.Comment = "tnx\r\nfb";
              }),
              "<CALL:5>Q1ABC<PROP_MODE:2>ES<COMMENT:7>tnx  fb<QSL_SEND_VIA:5>Q1ABC<EOR>");
        Zeile("own station from the settings", Setzen([](QsoDaten &) {
                  EinstellungSpeichern(QStringLiteral("MyCall"), QStringLiteral("Q9XYZ"));
                  EinstellungSpeichern(QStringLiteral("MyLoc"), QStringLiteral("JO62QM"));
              }),
              "<CALL:5>Q1ABC<STATION_CALLSIGN:5>Q9XYZ<MY_GRIDSQUARE:6>JO62QM<EOR>");
    }
    void bauen()
    {
        QFETCH(Setzen, setzen);
        z.AktQSO.PseTnx.clear();
        z.AktQSO.Call = QStringLiteral("Q1ABC");
        setzen(z.AktQSO);
        QTEST(AdifSatzBauen(z), "zeile");
    }

    void anlegen()
    {
        z.AdifDatei = pfad("Neu.adi");
        QVERIFY(AdifDateiAnlegen(u));
        const QByteArray kopf = "File: Neu.adi\r\n<ADIF_VER:5>2.2.8\r\n<PROGRAMID:9>Cardforge\r\n"
                                "<PROGRAMVERSION:5>1.0.6\r\n<EOH>\r\n";
        QCOMPARE(lesen("Neu.adi"), kopf);
        QVERIFY(AdifSatzAnhaengen(u, QStringLiteral("<CALL:5>Q1ABC<EOR>")));
        // A file holding QSOs is never emptied.
        QVERIFY(!AdifDateiAnlegen(u));
        QCOMPARE(meldungen.aufrufe().size(), 1);
        QCOMPARE(meldungen.aufrufe()[0].titel, QStringLiteral("Datei anlegen"));
        QCOMPARE(lesen("Neu.adi"), kopf + "<CALL:5>Q1ABC<EOR>\r\n");
    }

    // A foreign file whose last record has no line end: the appended record
    // must not be glued to it. The logger that wrote it still holds it open
    // and goes on writing into the log.
    void anhaengenOhneZeilenende()
    {
        z.AdifDatei = schreiben("fremd.adi", "<call:5>q1abc<eor>");
        QFile logger(pfad("fremd.adi"));
        QVERIFY(logger.open(QIODevice::Append | QIODevice::Unbuffered));
        QVERIFY(AdifSatzAnhaengen(u, QStringLiteral("<CALL:5>Q2ABC<EOR>")));
        QCOMPARE(logger.write("<call:5>q3abc<eor>\r\n"), 20);
        QCOMPARE(lesen("fremd.adi"), QByteArray("<call:5>q1abc<eor>\r\n<CALL:5>Q2ABC<EOR>\r\n<call:5>q3abc<eor>\r\n"));
        QCOMPARE(ordner(), QStringList{"fremd.adi"});
    }

    void dialog_data()
    {
        QTest::addColumn<bool>("neu");
        // A path, "" for cancel, "!" for an error, after which the user asks
        // for a retry when more answers follow.
        Spalten<QStringList, QString, QString, QString, bool>({"antworten", "ergebnis", "titel", "log", "imLogOrdner"});
        // The current log; the dialog starts in its folder when there is one,
        // else in the documents folder.
        Zeile("open", false, QStringList{"/log/a.adi"}, "/log/a.adi", "", "", false);
        Zeile("cancel", false, QStringList{""}, "", "", "Logbook.adi", true);
        Zeile("no ADIF file", false, QStringList{"/log/Logbook.txt"}, "", "Falsche Datei", "weg/Logbook.adi", false);
        Zeile("error, retry", true, QStringList{"!", "/log/b.ADX"}, "/log/b.ADX", "Fehler?", "Logbook.adi", true);
        Zeile("error, no retry: not the proposed name", true, QStringList{"!"}, "", "Fehler?", "", false);
    }
    void dialog()
    {
        QFETCH(bool, neu);
        QFETCH(QString, log);
        QFETCH(bool, imLogOrdner);
        z.AdifDatei = log.isEmpty() ? QString() : pfad(log);
        QFETCH(QStringList, antworten);
        QFETCH(QString, titel);
        for (qsizetype i = 0; i < antworten.size(); ++i) {
            if (antworten[i] == QLatin1String("!")) {
                dialoge.antworte({DialogErgebnis::Fehler, {}, QStringLiteral("Kein Zugriff")});
                meldungen.antworte(i + 1 < antworten.size() ? Antwort::Ja : Antwort::Nein);
            } else if (antworten[i].isEmpty()) {
                dialoge.abbrechen();
            } else {
                dialoge.datei(antworten[i]);
            }
        }
        QTEST(AdifDateiDialog(u, neu), "ergebnis");
        QCOMPARE(meldungen.aufrufe().size(), titel.isEmpty() ? 0 : 1);
        if (!titel.isEmpty())
            QCOMPARE(meldungen.aufrufe()[0].titel, titel);
        const CommonDialog &dlg = dialoge.aufrufe().first();
        QCOMPARE(dlg.DialogTitle, neu ? QStringLiteral("ADIF-Datei anlegen") : QStringLiteral("Öffnen"));
        QCOMPARE(dlg.InitDir,
                 imLogOrdner ? m_dir->path() : QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        QCOMPARE(dlg.FileName, neu ? QStringLiteral("Logbook.adi") : QString());
        QCOMPARE(dlg.Filter, neu ? QStringLiteral("ADIF Datei (*.adi;*.adx)|*.adi;*.adx")
                                 : QStringLiteral("ADIF Datei (*.adi;*.adx)|*.adi;*.adx|Alle Dateien (*.*)|*.*"));
    }

    void sicherungsName_data()
    {
        Spalten<QString, QString>({"pfad", "sicherung"});
        Zeile("adi", "/home/q/Logbook.adi", "/home/q/Logbook.bak");
        Zeile("adx", "/home/q/log.adx", "/home/q/log.bak");
        Zeile("no extension", "/home/q/Logbook", "/home/q/Logbbak");
        Zeile("short name stays in its folder", "/home/q/ab", "/home/q/ab.bak");
        Zeile("a log named .bak", "/home/q/Log.BAK", "/home/q/Log.BAK.bak");
    }
    void sicherungsName()
    {
        QFETCH(QString, pfad);
        QTEST(SicherungsName(pfad), "sicherung");
    }

    // The header names the log. A name that holds a line break or a tag made
    // the header a QSO of its own, which the next load showed as a record.
    void kopfMitFeindlichemNamen_data()
    {
        Spalten<QString, QString>({"name", "ersteZeile"});
        Zeile("tag in the name", "Log<CALL:5>Q9BAD<EOR>.adi", "File: Log CALL:5>Q9BAD EOR>.adi");
        Zeile("line break, then a record", "Log\n<CALL:5>Q9BAD<EOR>.adi", "File: Log  CALL:5>Q9BAD EOR>.adi");
        Zeile("carriage return", "Logbuch.adi\r", "File: Logbuch.adi ");
        Zeile("lower-case tag", "<call:.adi", "File:  call:.adi");
        Zeile("plain name unchanged", "Log 2023 (Ä).adi", "File: Log 2023 (Ä).adi");
    }
    void kopfMitFeindlichemNamen()
    {
        QFETCH(QString, name);
        QTEST(AdifKopfZeilen(QStringLiteral("/home/q1abc/") + name).first(), "ersteZeile");

        // Created on disk and loaded again, the file holds no QSO.
        z.AdifDatei = pfad(name);
        QVERIFY(AdifDateiAnlegen(u));
        meldungen.leeren();
        QVERIFY(!DateiLaden(u));
        QCOMPARE(meldungen.aufrufe().size(), 1);
        QVERIFY(meldungen.aufrufe().first().text.startsWith(QStringLiteral("Die ADIF-Datei ist fehlerhaft!")));
    }
};

CARDFORGE_TEST_MAIN(TestAdifSchreiben)
#include "tst_adifschreiben.moc"
