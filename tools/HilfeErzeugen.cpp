// Renders the short manual (Markdown) into a paginated A4 PDF:
//   cardforge_hilfe <Kurzanleitung.md> <Cardforge.pdf> [version]
// Each top-level heading starts a new page; every page has a footer with the
// title and the page number.
#include "mainwindow/Programmsymbol.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <cstdio>

namespace {

constexpr double PixelProMm = 96.0 / 25.4;
constexpr double RandMm = 20.0;
constexpr double FussMm = 10.0;

// Spacing in millimetres. Lengths in a text document are CSS pixels (1/96
// inch), which the layout scales to the PDF's resolution itself.
void gestalten(QTextDocument &doc)
{
    const QColor titelFarbe(0x1f, 0x4e, 0x8c);
    bool ersteUeberschrift = true;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const int ebene = b.blockFormat().headingLevel();
        if (ebene == 0)
            continue;
        QTextCursor c(b);
        QTextBlockFormat bf = b.blockFormat();
        if (ebene == 1) {
            if (!ersteUeberschrift)
                bf.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            ersteUeberschrift = false;
            bf.setBottomMargin(4 * PixelProMm);
        } else {
            bf.setTopMargin(5 * PixelProMm);
            bf.setBottomMargin(1.5 * PixelProMm);
        }
        c.setBlockFormat(bf);
        c.select(QTextCursor::BlockUnderCursor);
        QTextCharFormat cf;
        cf.setForeground(titelFarbe);
        c.mergeCharFormat(cf);
    }
    for (QTextFrame *f : doc.rootFrame()->childFrames()) {
        if (auto *tabelle = qobject_cast<QTextTable *>(f)) {
            QTextTableFormat tf = tabelle->format();
            tf.setBorder(1);
            tf.setBorderBrush(QColor(0x99, 0x99, 0x99));
            tf.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
            tf.setBorderCollapse(true);
            tf.setCellPadding(1 * PixelProMm);
            tf.setWidth(QTextLength(QTextLength::PercentageLength, 100));
            tabelle->setFormat(tf);
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    // A build machine has no display; this tool only paints into a file.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "Aufruf: cardforge_hilfe <Kurzanleitung.md> <Cardforge.pdf> [Version]\n");
        return 2;
    }
    const QString quelle = QString::fromLocal8Bit(argv[1]);
    const QString ziel = QString::fromLocal8Bit(argv[2]);
    const QString version = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();

    QFile datei(quelle);
    if (!datei.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], qPrintable(datei.errorString()));
        return 1;
    }
    QString text = QString::fromUtf8(datei.readAll());
    text.replace(QStringLiteral("@VERSION@"), version);

    // Written to a temporary name first, so a failed run leaves no half file
    // that the build would take as up to date.
    const QString teil = ziel + QStringLiteral(".teil");
    {
        QPdfWriter pdf(teil);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        pdf.setResolution(600);
        pdf.setTitle(QStringLiteral("Cardforge – Kurzanleitung"));
        pdf.setCreator(QStringLiteral("Cardforge %1").arg(version));

        const double proMm = pdf.resolution() / 25.4;
        const QRectF seite(0, 0, pdf.width(), pdf.height());
        const QRectF inhalt = seite.adjusted(RandMm * proMm, RandMm * proMm, -RandMm * proMm, -RandMm * proMm);

        QTextDocument doc;
        doc.documentLayout()->setPaintDevice(&pdf);
        QFont schrift(QStringLiteral("Liberation Sans"));
        schrift.setPointSizeF(10.5);
        doc.setDefaultFont(schrift);
        doc.setDocumentMargin(0);
        doc.setMarkdown(text, QTextDocument::MarkdownDialectGitHub);
        gestalten(doc);
        doc.setPageSize(inhalt.size());

        QPainter p;
        if (!p.begin(&pdf)) {
            std::fprintf(stderr, "%s: PDF kann nicht geschrieben werden\n", qPrintable(teil));
            return 1;
        }
        const int seiten = doc.pageCount();
        QFont fuss(schrift);
        fuss.setPointSizeF(8.5);
        for (int i = 0; i < seiten; ++i) {
            if (i > 0)
                pdf.newPage();
            if (i == 0) {
                // In the top margin, clear of the title.
                const double kante = 13 * proMm;
                p.drawImage(QRectF(inhalt.right() - kante, 5 * proMm, kante, kante), ProgrammsymbolBild(512));
            }
            p.save();
            p.translate(inhalt.left(), inhalt.top() - i * inhalt.height());
            // Kept clear of the next page's first line, which would otherwise be
            // drawn clipped and still be found by text extraction.
            doc.drawContents(&p, QRectF(0, i * inhalt.height(), inhalt.width(), inhalt.height() - 2));
            p.restore();

            p.setFont(fuss);
            p.setPen(QColor(0x55, 0x55, 0x55));
            const QRectF fussZeile(inhalt.left(), seite.bottom() - (RandMm - 2) * proMm + FussMm * proMm / 2,
                                   inhalt.width(), FussMm * proMm);
            p.drawLine(QPointF(inhalt.left(), fussZeile.top()), QPointF(inhalt.right(), fussZeile.top()));
            p.drawText(fussZeile, Qt::AlignLeft | Qt::AlignVCenter,
                       QStringLiteral("Cardforge %1 – Kurzanleitung").arg(version));
            p.drawText(fussZeile, Qt::AlignRight | Qt::AlignVCenter,
                       QStringLiteral("Seite %1 von %2").arg(i + 1).arg(seiten));
        }
        p.end();
    }
    QFile::remove(ziel);
    if (!QFile::rename(teil, ziel)) {
        std::fprintf(stderr, "%s: kann nicht angelegt werden\n", argv[2]);
        return 1;
    }
    return 0;
}
