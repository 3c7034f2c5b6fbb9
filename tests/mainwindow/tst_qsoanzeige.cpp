#include "TestUmgebung.h"

#include "core/Zustand.h"
#include "mainwindow/Kartenvorschau.h"
#include "mainwindow/QsoAnzeige.h"

#include <QApplication>

// What the preview shows for the current QSO: labels and the ticked boxes,
// which the card renderer prints.
class TestQsoAnzeige : public QObject
{
    Q_OBJECT

    static QString gesetzte(const Kartenvorschau &k, int gruppe)
    {
        QStringList s;
        for (const KartenElement &e : k.elemente()) {
            if (e.name.startsWith(QStringLiteral("Check%1(").arg(gruppe)) && e.gesetzt)
                s << e.name.mid(7, e.name.size() - 8) + (e.text.isEmpty() ? QString() : ':' + e.text);
        }
        return s.join(' ');
    }

private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void gruppen_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<float>("mhz");
        QTest::addColumn<QString>("via");
        QTest::addColumn<QString>("modeBoxen");
        QTest::addColumn<QString>("bandBoxen");
        QTest::addColumn<QString>("wegBoxen");
        QTest::addColumn<QString>("lbMHZ");
        QTest::newRow("lower-case cw") << "cw" << 145.0f << "tropo" << "0" << "1" << "0" << "145,0";
        QTest::newRow("open boxes") << "PSK31" << 145.5f << "F2" << "4:PSK31" << "4:145,5" << "6:F2" << "145,5";
        QTest::newRow("cut to five characters") << "SSB" << 1296.2f << "ES" << "1" << "4:1296," << "3" << "1296,2";
        QTest::newRow("short wave") << "FT8" << 14.074f << "SW" << "4:FT8" << "4:14,07" << "6:SW" << "14,074";
        QTest::newRow("whole MHz") << "RTTY" << 7.0f << "" << "3" << "4:7,0" << "" << "7,0";
        QTest::newRow("empty fields tick nothing") << "" << 0.0f << "" << "" << "" << "" << "";
    }
    void gruppen()
    {
        QFETCH(QString, mode);
        QFETCH(float, mhz);
        QFETCH(QString, via);
        Zustand z;
        Kartenvorschau k;
        // A previous QSO whose ticks and captions must not survive.
        z.AktQSO.Mode = QStringLiteral("PSK63");
        z.AktQSO.MHz = 433.1f;
        z.AktQSO.QSOvia = QStringLiteral("EME");
        ZeigeAktQSO(z, k, false);

        z.AktQSO.Mode = mode;
        z.AktQSO.MHz = mhz;
        z.AktQSO.QSOvia = via;
        ZeigeAktQSO(z, k, false);
        QTEST(gesetzte(k, 1), "modeBoxen");
        QTEST(gesetzte(k, 2), "bandBoxen");
        QTEST(gesetzte(k, 3), "wegBoxen");
        QTEST(k[QStringLiteral("lbMHZ")].text, "lbMHZ");
        QCOMPARE(z.AktQSO.Mode, mode.toUpper());
        QCOMPARE(k[QStringLiteral("lb2Way")].text, mode.toUpper());
        QCOMPARE(z.AktQSO.QSOvia, via.toUpper());
        QCOMPARE(z.AktQsoAdif.contains("<MODE:"), !mode.isEmpty());
        QVERIFY(z.AktQsoAdif.endsWith("<EOR>"));
    }

    void offeneBoxOhneBoxNull()
    {
        Zustand z;
        Kartenvorschau k;
        k[QStringLiteral("Check1(0)")].sichtbar = false;
        z.AktQSO.Mode = QStringLiteral("CW");
        ZeigeAktQSO(z, k, false);
        QCOMPARE(gesetzte(k, 1), QStringLiteral("0 4:CW"));
        QCOMPARE(z.ChkIndex[0], qint16(0));
    }

    void bestaetigung_data()
    {
        QTest::addColumn<QString>("kommentar");
        QTest::addColumn<QString>("boxen");
        QTest::newRow("swl any case") << "tnx Swl-report" << "0";
        QTest::newRow("qso") << "tnx fb QSO" << "";
        QTest::newRow("empty comment is a QSO") << "" << "";
    }
    void bestaetigung()
    {
        QFETCH(QString, kommentar);
        QFETCH(QString, boxen);
        Zustand z;
        Kartenvorschau k;
        z.AktQSO.Comment = kommentar;
        ZeigeAktQSO(z, k, false);
        const bool swl = !boxen.isEmpty();
        QCOMPARE(k[QStringLiteral("Check4(1)")].gesetzt, swl);
        QCOMPARE(k[QStringLiteral("Check4(0)")].gesetzt, !swl);
    }

    void datum_data()
    {
        QTest::addColumn<QVariant>("datum");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("monat");
        QTest::addColumn<QString>("jahr");
        QTest::newRow("date value") << QVariant(QDate(2021, 3, 5)) << "05." << "03." << "2021";
        QTest::newRow("date text") << QVariant(QStringLiteral("2023/05/21")) << "21." << "05." << "2023";
        QTest::newRow("no date") << QVariant(QStringLiteral("32.13.2023")) << "" << "" << "";
        QTest::newRow("empty") << QVariant(QString()) << "" << "" << "";
    }
    void datum()
    {
        QFETCH(QVariant, datum);
        Zustand z;
        Kartenvorschau k;
        z.AktQSO.Datum = QVariant(QDate(1999, 1, 1));
        ZeigeAktQSO(z, k, false);
        z.AktQSO.Datum = datum;
        ZeigeAktQSO(z, k, false);
        QTEST(k[QStringLiteral("lbDay")].text, "tag");
        QTEST(k[QStringLiteral("lbMonat")].text, "monat");
        QTEST(k[QStringLiteral("lbJahr")].text, "jahr");
    }

    void qslRoute()
    {
        Zustand z;
        Kartenvorschau k;
        z.AktQSO.QSLvia = QStringLiteral("Q2ABC");
        ZeigeAktQSO(z, k, true);
        QCOMPARE(k[QStringLiteral("lbQSLvia")].text, QStringLiteral("via Q2ABC"));
        QVERIFY(k[QStringLiteral("lbQSLvia")].sichtbar);
        z.AktQSO.QSLvia.clear();
        ZeigeAktQSO(z, k, true);
        QCOMPARE(k[QStringLiteral("lbQSLvia")].text, QString());
        QVERIFY(!k[QStringLiteral("lbQSLvia")].sichtbar);
    }

    // A new QSO with empty fields clears what the previous one showed, except
    // while the layout editor marks the controls.
    void leereFelder()
    {
        Zustand z;
        Kartenvorschau k;
        z.AktQSO.Call = QStringLiteral("Q1ABC");
        z.AktQSO.RX = QStringLiteral("IC-9700");
        ZeigeAktQSO(z, k, false);
        QCOMPARE(k[QStringLiteral("lbRX")].text, QStringLiteral("IC-9700"));

        z.AktQSO = QsoDaten();
        k[QStringLiteral("lbCall")].text = QStringLiteral("Call");
        ZeigeAktQSO(z, k, false, true);
        QCOMPARE(k[QStringLiteral("lbCall")].text, QStringLiteral("Call"));
        ZeigeAktQSO(z, k, false);
        QCOMPARE(k[QStringLiteral("lbCall")].text, QString());
        QCOMPARE(k[QStringLiteral("lbRX")].text, QString());
        QCOMPARE(k[QStringLiteral("lbPSE")].text, QStringLiteral("___  ----"));
    }
};

CARDFORGE_TEST_MAIN(TestQsoAnzeige)
#include "tst_qsoanzeige.moc"
