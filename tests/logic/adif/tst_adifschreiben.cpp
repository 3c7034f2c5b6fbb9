#include "TestUmgebung.h"

#include "AdifUmfeld.h"
#include "adif/AdifFormat.h"
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
        QTest::addColumn<Setzen>("setzen");
        QTest::addColumn<QString>("zeile");
        QTest::newRow("the record of the manual")
            << Setzen([](QsoDaten &q) {
                   q.Datum = QDate(2023, 5, 21);
                   q.UTC = "12.34";
                   q.RST = "59";
                   q.Mode = "SSB";
                   q.MHz = 144.3f;
               })
            << "<CALL:5>Q1ABC<QSO_DATE:8>20230521<QSO_DATE_OFF:8>20230521<TIME_OFF:6>123400<TIME_ON:6>123400"
               "<RST_SENT:2>59<MODE:3>SSB<FREQ:5>144.3<BAND:2>2m<EOR>";
        QTest::newRow("no date, no time, 0 MHz") << Setzen([](QsoDaten &) {}) << "<CALL:5>Q1ABC<EOR>";
        QTest::newRow("time 9.05") << Setzen([](QsoDaten &q) { q.UTC = "9.05"; })
                                   << "<CALL:5>Q1ABC<TIME_OFF:6>090500<TIME_ON:6>090500<EOR>";
        QTest::newRow("time 1234") << Setzen([](QsoDaten &q) { q.UTC = "1234"; })
                                   << "<CALL:5>Q1ABC<TIME_OFF:6>123400<TIME_ON:6>123400<EOR>";
        QTest::newRow("no time of day") << Setzen([](QsoDaten &q) { q.UTC = "25:00"; }) << "<CALL:5>Q1ABC<EOR>";
        QTest::newRow("date as typed") << Setzen([](QsoDaten &q) { q.Datum = "2023/05/21"; })
                                       << "<CALL:5>Q1ABC<QSO_DATE:8>20230521<QSO_DATE_OFF:8>20230521<EOR>";
        QTest::newRow("7 MHz") << Setzen([](QsoDaten &q) { q.MHz = 7.0f; })
                               << "<CALL:5>Q1ABC<FREQ:3>7.0<BAND:3>40m<EOR>";
        QTest::newRow("upper band edge in single precision")
            << Setzen([](QsoDaten &q) { q.MHz = 14.35f; }) << "<CALL:5>Q1ABC<FREQ:5>14.35<BAND:3>20m<EOR>";
        QTest::newRow("CB frequency: in no ADIF band")
            << Setzen([](QsoDaten &q) { q.MHz = 27.555f; }) << "<CALL:5>Q1ABC<FREQ:6>27.555<EOR>";
        QTest::newRow("short wave has no ADIF value")
            << Setzen([](QsoDaten &q) { q.QSOvia = "SW"; }) << "<CALL:5>Q1ABC<EOR>";
        QTest::newRow("eQSL sent") << Setzen([](QsoDaten &q) {
            q.QslMedium = "eQSL";
            q.QslSent = true;
            q.QslSDate = "20230601";
        }) << "<CALL:5>Q1ABC<EQSL_QSL_SEND:1>Y<EQSL_QSLSDATE:8>20230601<EOR>";
        QTest::newRow("unknown medium") << Setzen([](QsoDaten &q) {
            q.QslMedium = "Papier";
            q.QslSent = true;
        }) << "<CALL:5>Q1ABC<EOR>";
        QTest::newRow("empty medium is paper, received first") << Setzen([](QsoDaten &q) {
            q.QslSent = q.QslRcvd = true;
            q.QslSDate = "20230601";
            q.QslRDate = "20230602";
        }) << "<CALL:5>Q1ABC<QSL_RCVD:1>Y<QSLRDATE:8>20230602<QSL_SEND:1>Y<QSLSDATE:8>20230601<EOR>";
        QTest::newRow("route upper-cased, propagation, comment on one line") << Setzen([](QsoDaten &q) {
            q.QSLvia = "q1abc";
            q.QSOvia = "ES";
            q.Comment = "tnx\r\nfb";
        }) << "<CALL:5>Q1ABC<PROP_MODE:2>ES<COMMENT:7>tnx  fb<QSL_SEND_VIA:5>Q1ABC<EOR>";
        QTest::newRow("own station from the settings") << Setzen([](QsoDaten &) {
            EinstellungSpeichern(QStringLiteral("MyCall"), QStringLiteral("Q9XYZ"));
            EinstellungSpeichern(QStringLiteral("MyLoc"), QStringLiteral("JO62QM"));
        }) << "<CALL:5>Q1ABC<STATION_CALLSIGN:5>Q9XYZ<MY_GRIDSQUARE:6>JO62QM<EOR>";
    }
    void bauen()
    {
        QFETCH(Setzen, setzen);
        QFETCH(QString, zeile);
        z.AktQSO.PseTnx.clear();
        z.AktQSO.Call = QStringLiteral("Q1ABC");
        setzen(z.AktQSO);
        QCOMPARE(AdifSatzBauen(z), zeile);
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
        QTest::addColumn<QStringList>("antworten");
        QTest::addColumn<QString>("ergebnis");
        QTest::addColumn<QString>("titel");
        // The current log; the dialog starts in its folder when there is one,
        // else in the documents folder.
        QTest::addColumn<QString>("log");
        QTest::addColumn<bool>("imLogOrdner");
        QTest::newRow("open") << false << QStringList{"/log/a.adi"} << "/log/a.adi"
                              << ""
                              << "" << false;
        QTest::newRow("cancel") << false << QStringList{""} << ""
                                << ""
                                << "Logbook.adi" << true;
        QTest::newRow("no ADIF file") << false << QStringList{"/log/Logbook.txt"} << ""
                                      << "Falsche Datei"
                                      << "weg/Logbook.adi" << false;
        QTest::newRow("error, retry") << true << QStringList{"!", "/log/b.ADX"} << "/log/b.ADX"
                                      << "Fehler?"
                                      << "Logbook.adi" << true;
        QTest::newRow("error, no retry: not the proposed name") << true << QStringList{"!"} << ""
                                                                << "Fehler?"
                                                                << "" << false;
    }
    void dialog()
    {
        QFETCH(bool, neu);
        QFETCH(QString, log);
        QFETCH(bool, imLogOrdner);
        z.AdifDatei = log.isEmpty() ? QString() : pfad(log);
        QFETCH(QStringList, antworten);
        QFETCH(QString, ergebnis);
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
        QCOMPARE(AdifDateiDialog(u, neu), ergebnis);
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
        QTest::addColumn<QString>("pfad");
        QTest::addColumn<QString>("sicherung");
        QTest::newRow("adi") << "/home/q/Logbook.adi"
                             << "/home/q/Logbook.bak";
        QTest::newRow("adx") << "/home/q/log.adx"
                             << "/home/q/log.bak";
        QTest::newRow("no extension") << "/home/q/Logbook"
                                      << "/home/q/Logbbak";
        QTest::newRow("short name stays in its folder") << "/home/q/ab"
                                                        << "/home/q/ab.bak";
        QTest::newRow("a log named .bak") << "/home/q/Log.BAK"
                                          << "/home/q/Log.BAK.bak";
    }
    void sicherungsName()
    {
        QFETCH(QString, pfad);
        QFETCH(QString, sicherung);
        QCOMPARE(SicherungsName(pfad), sicherung);
    }
};

CARDFORGE_TEST_MAIN(TestAdifSchreiben)
#include "tst_adifschreiben.moc"
