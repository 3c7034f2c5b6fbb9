#include "seams/QtDialoge.h"

#include "layout/Kartenlayout.h"
#include "printing/Papierformate.h"
#include "seams/Dialogfilter.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

DialogErgebnis QtDialoge::ShowOpen(CommonDialog &dlg, QString *fehler)
{
    (void)fehler;
    QFileDialog dialog(m_eltern, dlg.DialogTitle);
    dialog.setNameFilters(QtNameFilter(dlg.Filter));
    if (dlg.Flags & CommonDialog::cdlOFNCreatePrompt) {
        // Naming a new file: the callers check for an existing name themselves.
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode((dlg.Flags & CommonDialog::cdlOFNPathMustExist) ? QFileDialog::ExistingFile
                                                                           : QFileDialog::AnyFile);
    }
    if (!dlg.InitDir.isEmpty())
        dialog.setDirectory(dlg.InitDir);
    if (!dlg.FileName.isEmpty())
        dialog.selectFile(dlg.FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        if (!dlg.CancelError)
            dlg.FileName.clear();
        return DialogErgebnis::Abgebrochen;
    }
    dlg.FileName = QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath();
    return DialogErgebnis::Ok;
}

DialogErgebnis QtDialoge::ShowPrinter(CommonDialog &dlg, QString *fehler)
{
    (void)fehler;
    QPrinter printer(QPrinter::HighResolution);
    if (!dlg.PrinterName.isEmpty() && !QPrinterInfo::printerInfo(dlg.PrinterName).isNull())
        printer.setPrinterName(dlg.PrinterName);
    if (dlg.Orientation == 1 || dlg.Orientation == 2)
        printer.setPageOrientation(dlg.Orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
    // The dialog starts with the paper the cards are printed on, so that OK
    // without touching the paper keeps it.
    if (const std::optional<QPageSize> format = SeitenformatAusCode(dlg.PaperSize)) {
        printer.setPageSize(*format);
    } else if (IstBenutzerPapiercode(dlg.PaperSize) && dlg.PaperWidth > 0 && dlg.PaperHeight > 0) {
        printer.setPageSize(QPageSize(QSizeF(dlg.PaperWidth, dlg.PaperHeight), QPageSize::Millimeter, QString(),
                                      QPageSize::ExactMatch));
    }
    if (const std::optional<QPrinter::PaperSource> quelle = PapierquelleAusCode(dlg.PaperBin))
        printer.setPaperSource(*quelle);
    QPrintDialog dialog(&printer, m_eltern);
    dialog.setWindowTitle(QStringLiteral("Drucker einrichten"));
    // Without any printer the PDF file is the only choice there is.
    dialog.setOption(QAbstractPrintDialog::PrintToFile, QPrinterInfo::availablePrinterNames().isEmpty());
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintShowPageSize, true);
    if (dialog.exec() != QDialog::Accepted)
        return DialogErgebnis::Abgebrochen;
    dlg.PrinterName = printer.outputFormat() == QPrinter::PdfFormat ? QString() : printer.printerName();
    dlg.Orientation = printer.pageLayout().orientation() == QPageLayout::Landscape ? 2 : 1;
    const QPageSize gewaehlt = printer.pageLayout().pageSize();
    if (const std::optional<int> code = CodeAusSeitenformat(gewaehlt))
        dlg.PaperSize = *code;
    else if (!IstBenutzerPapiercode(dlg.PaperSize))
        dlg.PaperSize = PapierBenutzer;
    dlg.PaperBin = CodeAusPapierquelle(printer.paperSource()).value_or(0);
    return DialogErgebnis::Ok;
}
