#include "TestUmgebung.h"

#include "PdfMessung.h"
#include "Programmlauf.h"

#include <cmath>
#include <memory>

namespace {

QByteArray lesen(const QString &pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

bool schreiben(const QString &pfad, const QByteArray &inhalt, QIODevice::OpenMode art = QIODevice::WriteOnly)
{
    QFile f(pfad);
    return f.open(art) && f.write(inhalt) == inhalt.size();
}

} // namespace

// The real program from start to end, as a user prints one card: the log
// browser hands record 0 over, the card goes to a PDF file (no printer), the
// mark is in the log right after the card, and the program ends through its
// menu or is killed.
class TestE2e : public QObject
{
    Q_OBJECT

    std::unique_ptr<Programmlauf> lauf;

    QString logDatei() const { return lauf->home() + QStringLiteral("/Logbuch/Logbuch.adi"); }

private Q_SLOTS:
    void initTestCase()
    {
        if (!PdfMessung::werkzeuge())
            QSKIP("pdftotext or pdfinfo (poppler-utils) is missing; scripts/deps.sh test installs it");
    }

    void init() { lauf = std::make_unique<Programmlauf>(); }

    void cleanup()
    {
        if (QTest::currentTestFailed()) {
            qInfo().noquote() << "Windows on the display:" << lauf->fenster().join(" | ");
            qInfo().noquote() << "Cardforge printed:\n" << lauf->ausgabe();
        }
        lauf.reset();
    }

    void karteDruckenUndLogMarkieren_data()
    {
        QTest::addColumn<QByteArray>("log");
        QTest::addColumn<QByteArray>("markiert");
        QTest::addColumn<QByteArray>("vonAussen");
        QTest::addColumn<bool>("getoetet");
        const QByteArray log = Probekarte::logbuch();
        const QByteArray markiert = Probekarte::logbuchMarkiert();
        QTest::newRow("log untouched by others") << log << markiert << QByteArray() << false;
        QTest::newRow("another logger appends a QSO before the end")
            << log << markiert << QByteArray("<CALL:5>Q9NEW<QSO_DATE:8>20230701<TIME_ON:4>1000<MODE:2>CW<EOR>\r\n")
            << false;
        QTest::newRow("killed right after the card") << log << markiert << QByteArray() << true;
        QTest::newRow("one field a line, as a web logbook exports it")
            << Probekarte::feldJeZeile() << Probekarte::feldJeZeileMarkiert() << QByteArray() << false;
    }

    void karteDruckenUndLogMarkieren()
    {
        QFETCH(QByteArray, log);
        QFETCH(QByteArray, markiert);
        QFETCH(QByteArray, vonAussen);
        QFETCH(bool, getoetet);
        if (!lauf->fehler().isEmpty())
            QSKIP(qPrintable(lauf->fehler()));

        QVERIFY(QDir().mkpath(QFileInfo(logDatei()).path()));
        QVERIFY(schreiben(logDatei(), log));
        QList<QPair<QString, QString>> einstellungen = Probekarte::layout();
        einstellungen.append({"AdifDatGes", logDatei() + ';'});
        lauf->einstellungen(einstellungen);

        const QString schritt = lauf->ersteKarteDrucken();
        QVERIFY2(schritt.isEmpty(), qPrintable(schritt));
        const QString pdf = Programmlauf::warteAufPdf(lauf->kartenOrdner());
        QVERIFY2(!pdf.isEmpty(), "no card PDF appeared after F5");
        QTRY_VERIFY2_WITH_TIMEOUT(lesen(logDatei()).contains("<QSL_SEND:1>Y"), "the log got no mark after the card",
                                  Programmlauf::Frist);
        logGeprueft(log, markiert);
        if (!vonAussen.isEmpty())
            QVERIFY(schreiben(logDatei(), vonAussen, QIODevice::Append));
        if (getoetet) {
            lauf->toeten();
        } else {
            QVERIFY2(lauf->menue("alt+d", "b"), "the menu \"&Datei\" did not open");
            QVERIFY2(lauf->beendet(), "Cardforge did not end cleanly after \"&Beenden\"");
        }

        karteGeprueft(pdf);
        logGeprueft(log, markiert + vonAussen);
        if (!getoetet)
            einstellungenGeprueft();
    }

    // The queue by keyboard alone: F8, the second of three requested QSOs
    // unticked, "&Drucken"; one PDF with a page for each ticked card, and only
    // their records marked.
    void stapelPerTastatur()
    {
        if (!lauf->fehler().isEmpty())
            QSKIP(qPrintable(lauf->fehler()));
        const QByteArray log =
            Probekarte::kopf()
            + "<CALL:5>Q3AAA <QSO_DATE:8>20230601 <TIME_ON:4>1000 <MODE:2>CW <QSL_SENT:1>R <EOR>\r\n"
              "<CALL:5>Q1BBB <QSO_DATE:8>20230602 <TIME_ON:4>1100 <MODE:2>CW <QSL_SENT:1>Q <EOR>\r\n"
              "<CALL:5>Q2CCC <QSO_DATE:8>20230603 <TIME_ON:4>1200 <MODE:2>CW <QSL_SENT:1>r <EOR>\r\n";
        QVERIFY(QDir().mkpath(QFileInfo(logDatei()).path()));
        QVERIFY(schreiben(logDatei(), log));
        QList<QPair<QString, QString>> einstellungen = Probekarte::layout();
        einstellungen.append({QStringLiteral("AdifDatGes"), logDatei() + QLatin1Char(';')});
        lauf->einstellungen(einstellungen);
        QVERIFY(lauf->starten());
        QVERIFY2(lauf->tippen(QStringLiteral("Cardforge"), {QStringLiteral("F8")}), "the main window did not come up");
        QVERIFY2(lauf->tippen(QStringLiteral("QSL-Stapel drucken"),
                              {QStringLiteral("Down"), QStringLiteral("space"), QStringLiteral("alt+d")}),
                 "the queue window did not open on F8");
        const QString pdf = Programmlauf::warteAufPdf(lauf->kartenOrdner());
        QVERIFY2(!pdf.isEmpty(), "no PDF appeared after \"&Drucken\"");
        QTRY_VERIFY_WITH_TIMEOUT(lesen(logDatei()).count("<QSL_SEND:1>Y") == 2, Programmlauf::Frist);
        QCOMPARE(Programmlauf::seitenzahl(pdf), 2);
        QStringList texte;
        for (const PdfMessung::Wort &w : PdfMessung::woerter(pdf))
            texte << w.text;
        QVERIFY2(texte.contains("Q1BBB") && texte.contains("Q3AAA") && !texte.contains("Q2CCC"),
                 qPrintable(texte.join(' ')));
        const QList<QByteArray> saetze = lesen(logDatei()).split('\n');
        QCOMPARE(saetze.size(), 9);
        QVERIFY(saetze.at(5).contains("<QSL_SENT:1>Y") && saetze.at(6).contains("<QSL_SENT:1>Y"));
        QCOMPARE(saetze.at(7), log.split('\n').at(7));
        QVERIFY2(lauf->menue(QStringLiteral("alt+d"), QStringLiteral("b")), "the menu \"&Datei\" did not open");
        QVERIFY2(lauf->beendet(), "Cardforge did not end cleanly after \"&Beenden\"");
    }

private:
    void karteGeprueft(const QString &pdf)
    {
        static const QRegularExpression name(QStringLiteral(R"(^QSL_Q1ABC_\d{8}_\d{6}\.pdf$)"));
        const QStringList dateien = QDir(lauf->kartenOrdner()).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(dateien.size(), 1);
        QVERIFY2(name.match(dateien.first()).hasMatch(), qPrintable(dateien.first()));

        QCOMPARE(Programmlauf::seitenzahl(pdf), 1);
        const QSizeF groesse = PdfMessung::seite(pdf);
        QVERIFY2(std::abs(groesse.width() - 140.0) < 0.5 && std::abs(groesse.height() - 90.0) < 0.5,
                 qPrintable(QStringLiteral("%1 x %2 mm").arg(groesse.width()).arg(groesse.height())));

        const QList<PdfMessung::Wort> gefunden = PdfMessung::woerter(pdf);
        QStringList texte;
        for (const PdfMessung::Wort &w : gefunden)
            texte.append(w.text);
        QStringList erwartet;
        for (const Probekarte::Posten &p : Probekarte::posten())
            erwartet.append(QString::fromUtf8(p.text));
        texte.sort();
        erwartet.sort();
        QCOMPARE(texte, erwartet);

        QPrinter drucker(QPrinter::HighResolution);
        drucker.setOutputFormat(QPrinter::PdfFormat);
        for (const Probekarte::Posten &p : Probekarte::posten()) {
            const auto gleich = [&](const PdfMessung::Wort &x) { return x.text == QString::fromUtf8(p.text); };
            const PdfMessung::Wort &w = *std::find_if(gefunden.cbegin(), gefunden.cend(), gleich);
            const double oben = PdfMessung::zeilenOben(w, QString::fromLatin1(p.schrift), p.punkte, drucker);
            const double links = p.mittig ? (w.xMin + w.xMax) / 2.0 - p.breite / 2.0 : w.xMin;
            QVERIFY2(std::abs(links - p.links) < 0.5 && std::abs(oben - p.oben) < 0.5,
                     qPrintable(
                         QString::asprintf("%s at %g, %g mm instead of %g, %g", p.text, links, oben, p.links, p.oben)));
        }
    }

    // The log as the card left it, byte for byte (the QSL dates are the day's),
    // and the backup as the log was before the card.
    void logGeprueft(const QByteArray &log, const QByteArray &markiert)
    {
        QCOMPARE(QDir(QFileInfo(logDatei()).path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"Logbuch.adi", "Logbuch.bak"}));
        QCOMPARE(lesen(lauf->home() + QStringLiteral("/Logbuch/Logbuch.bak")), log);
        const QString soll = QRegularExpression::escape(QString::fromLatin1(markiert))
                                 .replace(QLatin1String("yyyymmdd"), QLatin1String("20\\d{6}"));
        const QByteArray neu = lesen(logDatei());
        QVERIFY2(QRegularExpression(QStringLiteral("^%1\\z").arg(soll)).match(QString::fromLatin1(neu)).hasMatch(),
                 neu.constData());
    }

    void einstellungenGeprueft()
    {
        QList<QPair<QString, QString>> erwartet = Probekarte::layout();
        erwartet +=
            {{"AdifDatGes", logDatei() + ';'}, {"DrFormat", "0"},        {"DrGroesse", "512"}, {"DrBehaelter", "4"},
             {"PrinterRandOben", "0"},         {"PrinterRandlinks", "0"}};
        for (const auto &[schluessel, wert] : erwartet) {
            const QString gelesen = schluessel + '=' + lauf->einstellung(schluessel);
            QCOMPARE(gelesen, schluessel + '=' + wert);
        }
        for (const char *schluessel : {"MainLeft", "MainTop", "MainWidth", "MainHeight"})
            QVERIFY2(!lauf->einstellung(QString::fromLatin1(schluessel)).isEmpty(), schluessel);
    }
};

CARDFORGE_TEST_MAIN(TestE2e)
#include "tst_e2e.moc"
