#pragma once
#include <QString>

class QWidget;

namespace slownik::host {

//! Writes the document (HTML) to a PDF file at path, A4 with the program's margins;
//! false when the file could not be written.
bool printDocumentToPdf(const QString& html, const QString& title, const QString& path);

//! Shows the document in Qt's print preview, with "Zapisz jako PDF" beside the printer's
//! buttons; returns when the preview is closed.
void showPrintPreview(QWidget* parent, const QString& title, const QString& html);

}  // namespace slownik::host
