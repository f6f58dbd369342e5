#pragma once

// A configuration file handed to the program from outside (its command line, a
// double click in the file manager, a drop on the main window) is not written
// into a unit unasked: it waits for a connected unit, and is then offered for
// loading through the prompt seam. One file waits at a time; a newer one takes
// its place. Answered either way, the offer is over.

#include <QString>
#include <functional>

class TSerialDataModule;

class TConfigurationFileOffer {
public:
    using TLoad = std::function<void(const QString& fileName)>;

    // load writes an accepted file into the unit.
    TConfigurationFileOffer(TSerialDataModule& module, TLoad load);

    // Offers the file now when a unit is connected; otherwise tells the user it
    // waits for one.
    void Offer(const QString& fileName);
    // A unit has been connected: offers the waiting file, if any.
    void UnitConnected();
    QString Waiting() const { return m_waiting; }

private:
    void Ask();
    QString Text(int index, const QString& fileName = QString()) const;

    TSerialDataModule& m_module;
    TLoad m_load;
    QString m_waiting;
};
