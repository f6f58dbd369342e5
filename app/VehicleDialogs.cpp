#include "app/VehicleDialogs.h"

#include "support/TextIndex.h"
#include "support/Translator.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

QString TQtVehicleDialogs::Text(int index) const
{
    return m_translator.GetString(index, 0);
}

int TQtVehicleDialogs::ChooseVehicle(QWidget* parent, const QList<TVehicleCandidate>& candidates)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(Text(TextIndex::VehicleRecords));
    auto* list = new QListWidget(&dialog);
    for (const TVehicleCandidate& candidate : candidates) {
        const TVehicle& vehicle = candidate.vehicle;
        const QString closeness =
            candidate.differences < 0
                ? Text(TextIndex::VehicleNotCompared)
                : Text(TextIndex::VehicleDifferences)
                      .replace(QLatin1String("%1"), QString::number(candidate.differences));
        list->addItem(
            QStringLiteral("%1  %2 %3  (%4)").arg(vehicle.plate, vehicle.make, vehicle.model, closeness));
    }
    list->setCurrentRow(0);
    int answer = NoVehicle;
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* choose = buttons->addButton(Text(TextIndex::ChooseVehicle), QDialogButtonBox::AcceptRole);
    choose->setEnabled(!candidates.isEmpty());
    QPushButton* fresh = buttons->addButton(Text(TextIndex::NewVehicle), QDialogButtonBox::ActionRole);
    QPushButton* none = buttons->addButton(Text(TextIndex::NoVehicle), QDialogButtonBox::ActionRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        answer = list->currentRow() >= 0 ? list->currentRow() : NoVehicle;
        dialog.accept();
    });
    QObject::connect(list, &QListWidget::itemDoubleClicked, choose, &QPushButton::click);
    QObject::connect(fresh, &QPushButton::clicked, &dialog, [&] {
        answer = NewVehicle;
        dialog.accept();
    });
    QObject::connect(none, &QPushButton::clicked, &dialog, [&] {
        answer = NoVehicle;
        dialog.accept();
    });
    buttons->addButton(QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(Text(TextIndex::WhichVehicleQuestion), &dialog));
    layout->addWidget(list);
    layout->addWidget(buttons);
    dialog.resize(520, 360);
    return dialog.exec() == QDialog::Accepted ? answer : Cancelled;
}

bool TQtVehicleDialogs::EditVehicle(QWidget* parent, TVehicle& vehicle)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(Text(TextIndex::NewVehicle));
    auto* form = new QFormLayout;
    QList<QLineEdit*> edits;
    const QStringList& names = VehicleFields::Names();
    for (int field = 0; field < names.size(); ++field) {
        auto* edit = new QLineEdit(VehicleFields::Value(vehicle, names.at(field)), &dialog);
        form->addRow(Text(TextIndex::PlateField + field), edit);
        edits << edit;
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        TVehicle typed = vehicle;
        QString problem;
        for (int field = 0; field < names.size() && problem.isEmpty(); ++field)
            VehicleFields::SetValue(typed, names.at(field), edits.at(field)->text().trimmed(), &problem);
        if (problem.isEmpty())
            problem = VehicleProblem(typed);
        if (!problem.isEmpty()) {
            QMessageBox::warning(&dialog, dialog.windowTitle(), problem);
            return;
        }
        vehicle = typed;
        dialog.accept();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(form);
    layout->addWidget(buttons);
    return dialog.exec() == QDialog::Accepted;
}
