#include "mainwindow/QtDialoge.h"

#include "mainwindow/Dialogfilter.h"

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
    QPrintDialog dialog(&printer, m_eltern);
    dialog.setWindowTitle(QStringLiteral("Drucker einrichten"));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (dialog.exec() != QDialog::Accepted)
        return DialogErgebnis::Abgebrochen;
    dlg.PrinterName = printer.printerName();
    dlg.Orientation = printer.pageLayout().orientation() == QPageLayout::Landscape ? 2 : 1;
    return DialogErgebnis::Ok;
}
