#pragma once

// The seam for the vehicle questions of the windows: which recorded vehicle is
// on the bench, and a new vehicle's data. The windows ask it; tests answer it.

#include "model/VehicleCloseness.h"

#include <QList>

class QWidget;
class TTranslator;
struct TVehicle;

class TVehicleDialogs {
public:
    // The answers of ChooseVehicle besides a candidate's index.
    static constexpr int NoVehicle = -1;
    static constexpr int NewVehicle = -2;
    static constexpr int Cancelled = -3; // the current vehicle stays

    virtual ~TVehicleDialogs() = default;
    // The vehicle on the bench: the index of one of the candidates (listed in
    // their order), NewVehicle, NoVehicle, or Cancelled.
    virtual int ChooseVehicle(QWidget* parent, const QList<TVehicleCandidate>& candidates) = 0;
    // A new vehicle's data typed into vehicle; false when cancelled.
    virtual bool EditVehicle(QWidget* parent, TVehicle& vehicle) = 0;
};

// The toolkit's dialogs, in the interface's language.
class TQtVehicleDialogs : public TVehicleDialogs {
public:
    explicit TQtVehicleDialogs(TTranslator& translator) : m_translator(translator) {}

    int ChooseVehicle(QWidget* parent, const QList<TVehicleCandidate>& candidates) override;
    bool EditVehicle(QWidget* parent, TVehicle& vehicle) override;

private:
    QString Text(int index) const;

    TTranslator& m_translator;
};
