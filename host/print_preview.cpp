#include "host/print_preview.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>
#include <QToolBar>

namespace slownik::host {
namespace {

void setUpPrinter(QPrinter& printer, const QString& title) {
  printer.setDocName(title);
  printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(12, 12, 12, 12),
                                    QPageLayout::Millimeter));
}

// Lays the document out on the printer's page: the table's header repeats on every page.
void render(const QString& html, QPrinter& printer) {
  QTextDocument document;
  document.setHtml(html);
  document.print(&printer);
}

}  // namespace

bool printDocumentToPdf(const QString& html, const QString& title, const QString& path) {
  QPrinter printer(QPrinter::HighResolution);
  setUpPrinter(printer, title);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  render(html, printer);
  QFileInfo written(path);
  return written.exists() && written.size() > 0;
}

void showPrintPreview(QWidget* parent, const QString& title, const QString& html) {
  QPrinter printer(QPrinter::HighResolution);
  setUpPrinter(printer, title);
  QPrintPreviewDialog preview(&printer, parent);
  preview.setWindowTitle(QStringLiteral("Podgląd wydruku – %1").arg(title));
  QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                   [&html](QPrinter* target) { render(html, *target); });
  if (auto* toolbar = preview.findChild<QToolBar*>()) {
    QAction* pdf = toolbar->addAction(QStringLiteral("Zapisz jako PDF"));
    QObject::connect(pdf, &QAction::triggered, &preview, [&preview, &html, &title] {
      QString path = QFileDialog::getSaveFileName(&preview, QStringLiteral("Zapisz jako PDF"), title + ".pdf",
                                                  QStringLiteral("Dokument PDF (*.pdf)"));
      if (path.isEmpty()) return;
      if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) path += QStringLiteral(".pdf");
      if (!printDocumentToPdf(html, title, path))
        QMessageBox::warning(&preview, QStringLiteral("Zapisz jako PDF"),
                             QStringLiteral("Nie udało się zapisać pliku %1.").arg(path));
    });
  }
  preview.resize(900, 700);
  preview.exec();
}

}  // namespace slownik::host
