#include "TestUmgebung.h"

#include "core/Zustand.h"
#include "layout/Kartenvorschau.h"
#include "mainwindow/QsoAnzeige.h"

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
        for (const KartenElement &e : k.elemente())
            if (e.name.startsWith(QStringLiteral("Check%1(").arg(gruppe)) && e.gesetzt)
                s << e.name.mid(7, e.name.size() - 8) + (e.text.isEmpty() ? QString() : ':' + e.text);
        return s.join(' ');
    }

private Q_SLOTS:
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        z = Zustand();
        k = Kartenvorschau();
    }

    // Each row follows an SWL report of 1999 on 433,1 MHz in PSK31 via EME,
    // whose ticks, captions and date must not survive. The mode's own box is
    // ticked even when the layout hides it, and the open box gets the mode as
    // well.
    void felder_data()
    {
        // mode, band, propagation, confirmation groups (boxen)
        // lbMHZ, day month year (texte)
        Spalten<QString, float, QString, QString, QVariant, bool, QString, QString>(
            {"mode", "mhz", "via", "kommentar", "datum", "ohneBoxNull", "boxen", "texte"});
        // clang-format off
        Zeile("lower case, swl in any case, date value", "cw", 145.0f, "tropo", "tnx Swl-report", QVariant(QDate(2021, 3, 5)), false, "0|1|0|1", "145,0|05. 03. 2021");
        Zeile("open boxes, date text", "PSK31", 145.5f, "F2", "tnx fb QSO", QVariant("2023/05/21"), false, "4:PSK31|4:145,5|6:F2|0", "145,5|21. 05. 2023");
        Zeile("SSB clears the open box; cut to five characters; no date", "SSB", 1296.2f, "ES", "", QVariant("32.13.2023"), false, "1|4:1296,|3|0", "1296,2|  ");
        Zeile("short wave", "FT8", 14.074f, "SW", "", QVariant(), false, "4:FT8|4:14,07|6:SW|0", "14,074|  ");
        Zeile("empty fields tick nothing", "", 0.0f, "", "", QVariant(), false, "|||0", "|  ");
        Zeile("mode box hidden", "CW", 0.0f, "", "", QVariant(), true, "0 4:CW|||0", "|  ");
        // clang-format on
    }
    void felder()
    {
        const auto [mode, mhz, via, kommentar, datum, ohneBoxNull] =
            holen<QString, float, QString, QString, QVariant, bool>("mode", "mhz", "via", "kommentar", "datum",
                                                                    "ohneBoxNull");
        k[QStringLiteral("Check1(0)")].sichtbar = !ohneBoxNull;
        QsoDaten &q = z.AktQSO;
        std::tie(q.Mode, q.MHz, q.QSOvia, q.Comment, q.Datum) =
            std::tuple("PSK31", 433.1f, "EME", "swl", QDate(1999, 1, 1));
        ZeigeAktQSO(z, k);
        std::tie(q.Mode, q.MHz, q.QSOvia, q.Comment, q.Datum) = std::tie(mode, mhz, via, kommentar, datum);
        ZeigeAktQSO(z, k);
        QTEST(QStringList({gesetzte(1), gesetzte(2), gesetzte(3), gesetzte(4)}).join('|'), "boxen");
        QTEST(k[QStringLiteral("lbMHZ")].text + '|' + k[QStringLiteral("lbDay")].text + ' '
                  + k[QStringLiteral("lbMonat")].text + ' ' + k[QStringLiteral("lbJahr")].text,
              "texte");
        QCOMPARE(z.AktQSO.Mode, mode.toUpper());
        QCOMPARE(k[QStringLiteral("lb2Way")].text, mode.toUpper());
        QCOMPARE(z.AktQsoAdif.contains("<MODE:"), !mode.isEmpty());
    }

    // A new QSO with empty fields clears what the previous one showed, except
    // while the layout editor marks the controls.
    void leereFelder()
    {
        std::tie(z.AktQSO.Call, z.AktQSO.RX, z.AktQSO.QSLvia) = std::tuple("Q1ABC", "IC-9700", "Q2ABC");
        k.viaMitdrucken = true;
        ZeigeAktQSO(z, k);
        QVERIFY(k[QStringLiteral("lbQSLvia")].sichtbar && k[QStringLiteral("lbQSLvia")].text == "via Q2ABC");

        z.AktQSO = QsoDaten();
        k[QStringLiteral("lbCall")].text = QStringLiteral("Call");
        k.markiert = true;
        ZeigeAktQSO(z, k);
        QCOMPARE(k[QStringLiteral("lbCall")].text, QStringLiteral("Call"));
        k.markiert = false;
        ZeigeAktQSO(z, k);
        QCOMPARE(k[QStringLiteral("lbCall")].text + k[QStringLiteral("lbRX")].text + k[QStringLiteral("lbQSLvia")].text,
                 QString());
        QVERIFY(!k[QStringLiteral("lbQSLvia")].sichtbar);
        QCOMPARE(k[QStringLiteral("lbPSE")].text, QStringLiteral("___  ----"));
    }
};

CARDFORGE_TEST_MAIN(TestQsoAnzeige)
#include "tst_qsoanzeige.moc"
