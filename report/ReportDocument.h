#pragma once

// The content of a customer's report as plain texts, tables and a picture, in
// the order it is printed. TReportBuilder fills it from the data module;
// ReportWriter prints it. Every text is final: in the report's language, with
// its numbers written.

#include <QImage>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// The mark of a table row that judges something: the colour of its verdict
// cell, which also carries the verdict's word.
enum class TReportTone { None, Good, Caution, Bad };

struct TReportTable {
    QStringList header;
    QList<QStringList> rows;
    QList<TReportTone> tones; // one per row, or none
    int toneColumn = -1;      // the cell coloured by the row's tone
};

struct TReportSection {
    QString heading;
    bool subsection = false; // a part of the section before it
    bool newPage = false;    // starts a page
    QString note;            // a paragraph under the heading; may be empty
    TReportTable table;
    QImage picture; // may be null
};

// The vehicle, from the workshop's records: the current one in the windows,
// --vehicle on the command line. Empty, the report leaves the vehicle out; the
// VIN is named when known.
struct TReportVehicle {
    QString plate;
    QString make;
    QString model;
    QString vin;
    bool IsEmpty() const { return plate.isEmpty() && make.isEmpty() && model.isEmpty(); }
};

struct TReportDocument {
    QString title;
    QString workshopName;
    QString workshopAddress;              // may hold several lines
    QList<QPair<QString, QString>> facts; // label and value, under the title
    QList<TReportSection> sections;
    QStringList signatures; // the caption under each signature line
};
