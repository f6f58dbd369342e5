#pragma once

// Prints a report to a PDF file: A4 portrait, the toolkit's own PDF writer and
// text layout, in a font that has Latin and Cyrillic letters (DejaVu Sans, the
// system's sans-serif when it lacks). Needs a QGuiApplication (the offscreen
// platform will do).

#include "report/ReportDocument.h"

namespace ReportWriter {

// The report as HTML, as it is laid out, with the pictures `pictureWidth` pixels wide.
QString Html(const TReportDocument& document, int pictureWidth);

// False, with the reason, when the file cannot be written.
bool WritePdf(const TReportDocument& document, const QString& fileName, QString& error);

} // namespace ReportWriter
