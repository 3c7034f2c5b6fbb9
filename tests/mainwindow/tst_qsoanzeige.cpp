#include "TestUmgebung.h"

#include "core/Zustand.h"
#include "mainwindow/Kartenvorschau.h"
#include "mainwindow/QsoAnzeige.h"

#include <QApplication>

// What the preview shows for the current QSO: labels and the ticked boxes,
// which the card renderer prints. A card never carries a value of the
// previous QSO.
class TestQsoAnzeige : public QObject
{
    Q_OBJECT

    Zustand z;
    Kartenvorschau k;

    // The ticked boxes of a group with their captions, e.g. "0 4:CW".
    QString gesetzte(int gruppe)
    {
        QStringList s;
        for (const KartenElement &e : k.elemente()) {
            if (e.name.startsWith(QStringLiteral("Check%1(").arg(gruppe)) && e.gesetzt)
                s << e.name.mid(7, e.name.size() - 8) + (e.text.isEmpty() ? QString() : ':' + e.text);
        }
        return s.join(' ');
    }

private Q_SLOTS:
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        z = Zustand();
        k = Kartenvorschau();
    }

    void gruppen_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<float>("mhz");
        QTest::addColumn<QString>("via");
        QTest::addColumn<QString>("boxen"); // mode, band, propagation groups
        QTest::addColumn<QString>("lbMHZ");
        QTest::newRow("lower-case cw") << "cw" << 145.0f << "tropo" << "0|1|0" << "145,0";
        QTest::newRow("open boxes") << "PSK31" << 145.5f << "F2" << "4:PSK31|4:145,5|6:F2" << "145,5";
        QTest::newRow("SSB clears the open box; cut to five characters") << "SSB" << 1296.2f << "ES" << "1|4:1296,|3"
                                                                          << "1296,2";
        QTest::newRow("short wave") << "FT8" << 14.074f << "SW" << "4:FT8|4:14,07|6:SW" << "14,074";
        QTest::newRow("empty fields tick nothing") << "" << 0.0f << "" << "||" << "";
    }
    void gruppen()
    {
        QFETCH(QString, mode);
        QFETCH(float, mhz);
        QFETCH(QString, via);
        // A previous QSO whose ticks and captions must not survive.
        z.AktQSO.Mode = QStringLiteral("PSK31");
        z.AktQSO.MHz = 433.1f;
        z.AktQSO.QSOvia = QStringLiteral("EME");
        ZeigeAktQSO(z, k, false);
        z.AktQSO.Mode = mode;
        z.AktQSO.MHz = mhz;
        z.AktQSO.QSOvia = via;
        ZeigeAktQSO(z, k, false);
        QTEST(gesetzte(1) + '|' + gesetzte(2) + '|' + gesetzte(3), "boxen");
        QTEST(k[QStringLiteral("lbMHZ")].text, "lbMHZ");
        QCOMPARE(z.AktQSO.Mode, mode.toUpper());
        QCOMPARE(k[QStringLiteral("lb2Way")].text, mode.toUpper());
        QCOMPARE(z.AktQsoAdif.contains("<MODE:"), !mode.isEmpty());
    }

    // The mode's own box is ticked even when the layout hides it, and the
    // open box gets the mode as well.
    void offeneBoxOhneBoxNull()
    {
        k[QStringLiteral("Check1(0)")].sichtbar = false;
        z.AktQSO.Mode = QStringLiteral("CW");
        ZeigeAktQSO(z, k, false);
        QCOMPARE(gesetzte(1), QStringLiteral("0 4:CW"));
    }

    void bestaetigungUndDatum_data()
    {
        QTest::addColumn<QString>("kommentar");
        QTest::addColumn<QVariant>("datum");
        QTest::addColumn<QString>("gezeigt"); // confirmation boxes | day month year
        QTest::newRow("swl any case, date value") << "tnx Swl-report" << QVariant(QDate(2021, 3, 5)) << "1|05. 03. 2021";
        QTest::newRow("qso, date text") << "tnx fb QSO" << QVariant(QStringLiteral("2023/05/21")) << "0|21. 05. 2023";
        QTest::newRow("empty comment, no date") << "" << QVariant(QStringLiteral("32.13.2023")) << "0|  ";
    }
    void bestaetigungUndDatum()
    {
        QFETCH(QString, kommentar);
        QFETCH(QVariant, datum);
        z.AktQSO.Comment = QStringLiteral("swl");
        z.AktQSO.Datum = QVariant(QDate(1999, 1, 1));
        ZeigeAktQSO(z, k, false);
        z.AktQSO.Comment = kommentar;
        z.AktQSO.Datum = datum;
        ZeigeAktQSO(z, k, false);
        QTEST(gesetzte(4) + '|' + k[QStringLiteral("lbDay")].text + ' ' + k[QStringLiteral("lbMonat")].text + ' '
                  + k[QStringLiteral("lbJahr")].text,
              "gezeigt");
    }

    // A new QSO with empty fields clears what the previous one showed, except
    // while the layout editor marks the controls.
    void leereFelder()
    {
        z.AktQSO.Call = QStringLiteral("Q1ABC");
        z.AktQSO.RX = QStringLiteral("IC-9700");
        z.AktQSO.QSLvia = QStringLiteral("Q2ABC");
        ZeigeAktQSO(z, k, true);
        QCOMPARE(k[QStringLiteral("lbQSLvia")].text, QStringLiteral("via Q2ABC"));
        QVERIFY(k[QStringLiteral("lbQSLvia")].sichtbar);

        z.AktQSO = QsoDaten();
        k[QStringLiteral("lbCall")].text = QStringLiteral("Call");
        ZeigeAktQSO(z, k, true, true);
        QCOMPARE(k[QStringLiteral("lbCall")].text, QStringLiteral("Call"));
        ZeigeAktQSO(z, k, true);
        QCOMPARE(k[QStringLiteral("lbCall")].text + k[QStringLiteral("lbRX")].text + k[QStringLiteral("lbQSLvia")].text, QString());
        QVERIFY(!k[QStringLiteral("lbQSLvia")].sichtbar);
        QCOMPARE(k[QStringLiteral("lbPSE")].text, QStringLiteral("___  ----"));
    }
};

CARDFORGE_TEST_MAIN(TestQsoAnzeige)
#include "tst_qsoanzeige.moc"
