#pragma once

#include "TestUmgebung.h"

#include <QPrinter>

// Measuring a PDF file the printer target wrote, with poppler's tools.
namespace PdfMessung {

constexpr double ptJeMm = 72.0 / 25.4;

struct Wort
{
    QString text;
    double xMin, yMin, xMax, yMax; // millimetres from the paper's top-left corner
};

inline bool werkzeuge(std::initializer_list<const char *> programme = {"pdftotext", "pdfinfo"})
{
    return std::all_of(programme.begin(), programme.end(),
                       [](const char *p) { return !QStandardPaths::findExecutable(QString::fromLatin1(p)).isEmpty(); });
}

// The standard output of a helper program; empty when it failed. With rc,
// its exit code (-1 for a crash or a hang).
inline QString ausgabe(const QString &programm, const QStringList &argumente,
                       const QProcessEnvironment &umgebung = QProcessEnvironment::systemEnvironment(),
                       int *rc = nullptr)
{
    QProcess p;
    p.setProcessEnvironment(umgebung);
    p.start(programm, argumente);
    const int ende = p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    if (rc)
        *rc = ende;
    return ende == 0 ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
}

// The words of the whole document, or of page seite (from 1) only.
inline QList<Wort> woerter(const QString &pdf, int seite = 0)
{
    static const QRegularExpression muster(
        QStringLiteral(R"x(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)x"));
    QList<Wort> liste;
    const QString s = QString::number(seite);
    const QStringList argumente = {QStringLiteral("-bbox"), pdf, QStringLiteral("-")};
    auto it = muster.globalMatch(
        ausgabe(QStringLiteral("pdftotext"), seite > 0 ? QStringList{"-f", s, "-l", s} + argumente : argumente));
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        liste.append({m.captured(5), m.captured(1).toDouble() / ptJeMm, m.captured(2).toDouble() / ptJeMm,
                      m.captured(3).toDouble() / ptJeMm, m.captured(4).toDouble() / ptJeMm});
    }
    return liste;
}

// The texts of the words, in their order.
inline QStringList texte(const QList<Wort> &woerter)
{
    QStringList t;
    for (const Wort &w : woerter)
        t.append(w.text);
    return t;
}

// The page size in millimetres, from pdfinfo.
inline QSizeF seite(const QString &pdf)
{
    static const QRegularExpression muster(QStringLiteral(R"(Page size:\s+([\d.]+) x ([\d.]+) pts)"));
    const QRegularExpressionMatch m = muster.match(ausgabe(QStringLiteral("pdfinfo"), {pdf}));
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) / ptJeMm : QSizeF();
}

// Where the drawing put the top of a bold text's line. pdftotext puts a word's
// box from baseline - ascent to baseline + descent, with the ascent and descent
// of the PDF's font descriptor, which can differ from Qt's metrics by about 2 %
// of the font size (Liberation Sans Narrow): yMin alone would be off by up to
// 0.2 mm at 36 pt. The baseline is found again by splitting the box in Qt's
// ascent-to-descent ratio, and Qt's ascent above it is the top.
inline double zeilenOben(const Wort &w, const QString &schrift, double punkte, QPrinter &drucker)
{
    QFont f(schrift);
    f.setPointSizeF(punkte);
    f.setBold(true);
    const QFontMetricsF fm(f, &drucker);
    const double grundlinie = w.yMin + (w.yMax - w.yMin) * fm.ascent() / (fm.ascent() + fm.descent());
    return grundlinie - fm.ascent() / drucker.logicalDpiY() * 25.4;
}

} // namespace PdfMessung
