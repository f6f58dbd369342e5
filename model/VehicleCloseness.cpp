#include "model/VehicleCloseness.h"

#include "model/SerialDataModule.h"
#include "records/VehicleStore.h"
#include "records/VehicleTimeline.h"

#include <QTemporaryFile>
#include <algorithm>

namespace {

// The values of the vehicle's newest configuration that differ from the unit's;
// -1 when it has none or it cannot be compared.
int DifferencesFromUnit(TSerialDataModule& module, TVehicleTimeline& timeline, qint64 vehicleId)
{
    TTimelineEntry latest;
    bool found = false;
    if (!timeline.LatestConfiguration(vehicleId, true, latest, &found) || !found)
        return -1;
    QTemporaryFile file;
    if (!file.open() || file.write(latest.payload) != latest.payload.size() || !file.flush())
        return -1;
    QList<TConfigDifference> differences;
    return module.CompareUnitWithFile(file.fileName(), differences) ? int(differences.size()) : -1;
}

} // namespace

bool VehicleCloseness::Candidates(TSerialDataModule& module, TRecordsDatabase& database,
                                  QList<TVehicleCandidate>& candidates, QString* error)
{
    TVehicleStore store(database);
    bool ok = false;
    QList<TVehicle> vehicles = store.Search(QString(), 0, &ok);
    if (!ok) {
        *error = store.Error();
        return false;
    }
    // The most recently seen first (a vehicle never seen last).
    std::stable_sort(vehicles.begin(), vehicles.end(),
                     [](const TVehicle& a, const TVehicle& b) { return a.lastVisit > b.lastVisit; });
    if (vehicles.size() > MostCompared)
        vehicles.resize(MostCompared);
    // Values the unit did not give would count as whatever the module holds.
    const bool comparable = module.IsUnitConnected() && module.UnreadUnitItems().isEmpty();
    TVehicleTimeline timeline(database);
    candidates.clear();
    for (const TVehicle& vehicle : std::as_const(vehicles))
        candidates.append({vehicle, comparable ? DifferencesFromUnit(module, timeline, vehicle.id) : -1});
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const TVehicleCandidate& a, const TVehicleCandidate& b) {
                         return CloserConfiguration(a.differences, b.differences);
                     });
    return true;
}
