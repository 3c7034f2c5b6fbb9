#include "TestUmgebung.h"

#include "SkriptMeldungen.h"
#include "core/Ablauf.h"

#include <QApplication>
#include <stdexcept>

// The start-up steps: a failing step asks the user, who can abort, retry or
// ignore it.
class TestAblauf : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fehlerdialog_data()
    {
        QTest::addColumn<QList<int>>("antworten");
        QTest::addColumn<bool>("ergebnis");
        QTest::addColumn<QString>("spur");
        QTest::newRow("abort skips the rest") << QList<int>{int(Antwort::Abbruch)} << false << "1 2!";
        QTest::newRow("ignore goes on") << QList<int>{int(Antwort::Ignorieren)} << true << "1 2! 3";
        QTest::newRow("retry repeats the step")
            << QList<int>{int(Antwort::Wiederholen), int(Antwort::Ignorieren)} << true << "1 2! 2! 3";
    }
    void fehlerdialog()
    {
        QFETCH(QList<int>, antworten);
        QFETCH(bool, ergebnis);
        QFETCH(QString, spur);
        SkriptMeldungen m;
        for (int a : antworten)
            m.antworte(Antwort(a));
        QStringList schritte;
        const bool ok = SchritteAusfuehren({
                                               [&] { schritte << "1"; },
                                               [&] {
                                                   schritte << "2!";
                                                   throw std::runtime_error("Datei nicht gefunden");
                                               },
                                               [&] { schritte << "3"; },
                                           },
                                           m);
        QCOMPARE(ok, ergebnis);
        QCOMPARE(schritte.join(' '), spur);
        QCOMPARE(m.aufrufe().size(), antworten.size());
        const SkriptMeldungen::Aufruf &a = m.aufrufe().constFirst();
        QCOMPARE(a.titel, QStringLiteral("Problem"));
        QCOMPARE(a.text, QStringLiteral("Datei nicht gefunden"));
        QCOMPARE(a.symbol, Symbol::Kritisch);
        QCOMPARE(a.knoepfe, Knoepfe::AbbrechenWiederholenIgnorieren);
    }
};

CARDFORGE_TEST_MAIN(TestAblauf)
#include "tst_ablauf.moc"
