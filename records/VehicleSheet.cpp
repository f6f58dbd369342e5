#include "records/VehicleSheet.h"

#include "datalog/CsvText.h"

bool VehicleSheet::Read(const QByteArray& text, QList<TSheetRow>& rows, QString* error)
{
    CsvText::TReader reader(text.startsWith("\xEF\xBB\xBF") ? text.mid(3) : text);
    QStringList header;
    if (reader.AtEnd() || !reader.Next(header, *error)) {
        if (error->isEmpty())
            *error = QStringLiteral("the file is empty");
        return false;
    }
    for (QString& column : header)
        column = column.trimmed().toLower();
    if (!header.contains(QStringLiteral("plate"))) {
        *error = QStringLiteral("the header row names no plate column");
        return false;
    }
    while (!reader.AtEnd()) {
        QStringList fields;
        QString problem;
        if (!reader.Next(fields, problem)) {
            *error = QStringLiteral("line %1: %2").arg(reader.Line()).arg(problem);
            return false;
        }
        if (fields.join(QString()).trimmed().isEmpty())
            continue;
        TSheetRow row;
        row.line = reader.Line();
        for (int column = 0; column < header.size() && row.problem.isEmpty(); ++column) {
            if (VehicleFields::Names().contains(header.at(column)))
                VehicleFields::SetValue(row.vehicle, header.at(column), fields.value(column), &row.problem);
        }
        if (row.problem.isEmpty())
            row.problem = VehicleProblem(row.vehicle);
        rows << row;
    }
    return true;
}
