#pragma once

// Answers the windows' vehicle questions from a script.

#include "app/VehicleDialogs.h"

#include <QStringList>

class FakeVehicleDialogs : public TVehicleDialogs {
public:
    QList<QStringList> offered; // the plates each question listed, in their order
    QList<int> differences;     // of the last question, in its order
    int answer = Cancelled;
    TVehicle typed; // the new vehicle's data; an empty plate cancels

    int ChooseVehicle(QWidget*, const QList<TVehicleCandidate>& candidates) override
    {
        QStringList plates;
        differences.clear();
        for (const TVehicleCandidate& candidate : candidates) {
            plates << candidate.vehicle.plate;
            differences << candidate.differences;
        }
        offered << plates;
        return answer;
    }
    bool EditVehicle(QWidget*, TVehicle& vehicle) override
    {
        if (typed.plate.isEmpty())
            return false;
        vehicle = typed;
        return true;
    }
};
