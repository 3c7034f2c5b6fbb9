#include "TestUmgebung.h"

#include "Programmlauf.h"

#include <cmath>
#include <memory>

// The real program from start to end, as a user prints one card: the log
// browser hands record 0 over, the card goes to a PDF file (no printer), the
// mark is in the log right after the card, and the program ends through its
// menu or is killed.
class TestE2e : public QObject
{
    Q_OBJECT

    std::unique_ptr<Programmlauf> lauf;

    QString logDatei() const { return lauf->home() + "/Logbuch/Logbuch.adi"; }
    QByteArray log() const
    {
        QFile f(logDatei());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
    }
    // The log as loggers left it, and a user who prints from it.
    bool vorbereiten(const QByteArray &inhalt)
    {
        QDir().mkpath(QFileInfo(logDatei()).path());
        QFile f(logDatei());
        Probekarte::einrichten(lauf->einstellungsDatei(), logDatei());
        return f.open(QIODevice::WriteOnly) && f.write(inhalt) == inhalt.size();
    }
    bool beenden() { return lauf->menue("alt+d", "b") && lauf->beendet(); }

private Q_SLOTS:
    void initTestCase()
    {
        if (!PdfMessung::werkzeuge())
            QSKIP("pdftotext or pdfinfo (poppler-utils) is missing; scripts/deps.sh test installs it");
    }

    void init()
    {
        lauf = std::make_unique<Programmlauf>();
        if (!lauf->fehler().isEmpty())
            QSKIP(qPrintable(lauf->fehler()));
    }

    void cleanup()
    {
        if (QTest::currentTestFailed())
            qInfo().noquote() << "Windows on the display:" << lauf->fenster().join(" | ") << "\nCardforge printed:\n"
                              << lauf->ausgabe();
        lauf.reset();
    }

    void karteDruckenUndLogMarkieren_data()
    {
        Spalten<QString, QByteArray, bool>({"log", "vonAussen", "getoetet"});
        Zeile("log untouched by others", QString("Logbuch"), QByteArray(), false);
        Zeile("another logger appends a QSO before the end", QString("Logbuch"),
              QByteArray("<CALL:5>Q9NEW<QSO_DATE:8>20230701<TIME_ON:4>1000<MODE:2>CW<EOR>\r\n"), false);
        Zeile("killed right after the card", QString("Logbuch"), QByteArray(), true);
        Zeile("one field a line, as a web logbook exports it", QString("FeldJeZeile"), QByteArray(), false);
    }

    void karteDruckenUndLogMarkieren()
    {
        QFETCH(QString, log);
        QFETCH(QByteArray, vonAussen);
        QFETCH(bool, getoetet);
        const QByteArray vorher = Probekarte::inhalt(log + ".adi");
        const QByteArray markiert = Probekarte::inhalt(log + "-markiert.adi");
        QVERIFY(vorbereiten(vorher));

        const QString schritt = lauf->ersteKarteDrucken();
        QVERIFY2(schritt.isEmpty(), qPrintable(schritt));
        const QString pdf = Programmlauf::warteAufPdf(lauf->kartenOrdner());
        QVERIFY2(!pdf.isEmpty(), "no card PDF appeared after F5");
        QTRY_VERIFY2_WITH_TIMEOUT(this->log().contains("<QSL_SEND:1>Y"), "the log got no mark after the card",
                                  Programmlauf::Frist);
        logGeprueft(vorher, markiert);
        QFile f(logDatei());
        QVERIFY(vonAussen.isEmpty() || (f.open(QIODevice::Append) && f.write(vonAussen) == vonAussen.size()));
        f.close();
        if (getoetet)
            lauf->toeten();
        else
            QVERIFY2(beenden(), "Cardforge did not end cleanly through \"&Datei\", \"&Beenden\"");

        karteGeprueft(pdf);
        logGeprueft(vorher, markiert + vonAussen);
        if (!getoetet)
            einstellungenGeprueft();
    }

    // The queue by keyboard alone: F8, the second of three requested QSOs
    // unticked, "&Drucken"; one PDF with a page for each ticked card, and only
    // their records marked.
    void stapelPerTastatur()
    {
        const QByteArray vorher = Probekarte::inhalt("Stapel.adi");
        QVERIFY(vorbereiten(vorher));
        QVERIFY(lauf->starten());
        QVERIFY2(lauf->tippen("Cardforge", {"F8"}), "the main window did not come up");
        QVERIFY2(lauf->tippen("QSL-Stapel drucken", {"Down", "space", "alt+d"}), "the queue window did not open on F8");
        const QString pdf = Programmlauf::warteAufPdf(lauf->kartenOrdner());
        QVERIFY2(!pdf.isEmpty(), "no PDF appeared after \"&Drucken\"");
        QTRY_VERIFY_WITH_TIMEOUT(log().count("<QSL_SEND:1>Y") == 2, Programmlauf::Frist);
        QCOMPARE(Programmlauf::seitenzahl(pdf), 2);
        const QStringList texte = PdfMessung::texte(PdfMessung::woerter(pdf));
        QVERIFY2(texte.contains("Q1BBB") && texte.contains("Q3AAA") && !texte.contains("Q2CCC"),
                 qPrintable(texte.join(' ')));
        const QList<QByteArray> saetze = log().split('\n');
        QCOMPARE(saetze.size(), 9);
        QVERIFY(saetze.at(5).contains("<QSL_SENT:1>Y") && saetze.at(6).contains("<QSL_SENT:1>Y"));
        QCOMPARE(saetze.at(7), vorher.split('\n').at(7));
        QVERIFY2(beenden(), "Cardforge did not end cleanly through \"&Datei\", \"&Beenden\"");
    }

private:
    void karteGeprueft(const QString &pdf)
    {
        const QStringList dateien = QDir(lauf->kartenOrdner()).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(dateien.size(), 1);
        QVERIFY2(QRegularExpression(R"(^QSL_Q1ABC_\d{8}_\d{6}\.pdf$)").match(dateien.first()).hasMatch(),
                 qPrintable(dateien.first()));
        QCOMPARE(Programmlauf::seitenzahl(pdf), 1);
        const QSizeF groesse = PdfMessung::seite(pdf);
        QVERIFY2(std::abs(groesse.width() - 140.0) < 0.5 && std::abs(groesse.height() - 90.0) < 0.5,
                 qPrintable(QString("%1 x %2 mm").arg(groesse.width()).arg(groesse.height())));

        const QList<PdfMessung::Wort> gefunden = PdfMessung::woerter(pdf);
        QStringList texte = PdfMessung::texte(gefunden), erwartet;
        for (const Probekarte::Posten &p : Probekarte::posten)
            erwartet.append(QString::fromUtf8(p.text));
        texte.sort();
        erwartet.sort();
        QCOMPARE(texte, erwartet);

        QPrinter drucker(QPrinter::HighResolution);
        drucker.setOutputFormat(QPrinter::PdfFormat);
        for (const Probekarte::Posten &p : Probekarte::posten) {
            const PdfMessung::Wort &w = gefunden.at(PdfMessung::texte(gefunden).indexOf(p.text));
            const double oben = PdfMessung::zeilenOben(w, p.schrift, p.punkte, drucker);
            const double links = p.mittig ? (w.xMin + w.xMax) / 2.0 - p.breite / 2.0 : w.xMin;
            QVERIFY2(std::abs(links - p.links) < 0.5 && std::abs(oben - p.oben) < 0.5,
                     qPrintable(
                         QString::asprintf("%s at %g, %g mm instead of %g, %g", p.text, links, oben, p.links, p.oben)));
        }
    }

    // The log as the card left it, byte for byte (the QSL dates are the day's),
    // and the backup as the log was before the card.
    void logGeprueft(const QByteArray &vorher, const QByteArray &markiert)
    {
        QCOMPARE(QDir(QFileInfo(logDatei()).path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"Logbuch.adi", "Logbuch.bak"}));
        QFile bak(lauf->home() + "/Logbuch/Logbuch.bak");
        QVERIFY(bak.open(QIODevice::ReadOnly));
        QCOMPARE(bak.readAll(), vorher);
        const QString soll = QRegularExpression::escape(QString::fromLatin1(markiert)).replace("yyyymmdd", "20\\d{6}");
        const QByteArray neu = log();
        QVERIFY2(QRegularExpression('^' + soll + "\\z").match(QString::fromLatin1(neu)).hasMatch(), neu.constData());
    }

    void einstellungenGeprueft()
    {
        const QList<QPair<QString, QString>> erwartet =
            Probekarte::layout()
            + QList<QPair<QString, QString>>{
                {"AdifDatGes", logDatei() + ';'}, {"DrFormat", "0"},        {"DrGroesse", "512"}, {"DrBehaelter", "4"},
                {"PrinterRandOben", "0"},         {"PrinterRandlinks", "0"}};
        for (const auto &[schluessel, wert] : erwartet)
            QCOMPARE(schluessel + '=' + lauf->einstellung(schluessel), schluessel + '=' + wert);
        for (const char *schluessel : {"MainLeft", "MainTop", "MainWidth", "MainHeight"})
            QVERIFY2(!lauf->einstellung(schluessel).isEmpty(), schluessel);
    }
};

CARDFORGE_TEST_MAIN(TestE2e)
#include "tst_e2e.moc"
