#pragma once

// TConfigurationLoad writes a configuration file into the unit: it reads and
// checks the whole file, takes the entries it may write, backs the unit up,
// writes the entries (the ignition type before the speeds that depend on it),
// keeps the actuator positions inside their limits, reads every written value
// back from the unit, and reports what needs the fitter's attention.

#include "model/LoadReport.h"

#include <QList>
#include <QStringList>

class TCustomIniFile;
class TMemIniData;
class TOrvNumber;
class TSerialDataModule;

class TConfigurationLoad {
public:
    explicit TConfigurationLoad(TSerialDataModule& module);

    // A load, or a restore (which writes what an ordinary load leaves alone);
    // onlyItems limits it to those items. Shows the report's notes.
    bool Load(const QString& fileName, const QStringList& onlyItems, bool restore, TLoadReport& report);
    // The notes of a load that need the fitter's attention, grouped, one a line.
    QString ReportText(const TLoadReport& report) const;
    // Keeps a write made while an operation was writing, for the read-back.
    void RecordWrite(TOrvNumber* item) { m_writes << item; }

private:
    // What became of one entry of a load.
    enum class EntryResult { Kept, Written, OutOfRange, NotWritten };

    bool Run(const QString& fileName, const QStringList& onlyItems, bool restore, TLoadReport& report);
    // The number item that holds the entry key of section; null when none does.
    TOrvNumber* FileItem(const QString& section, const QString& key) const;
    // Takes the file's entries for the items this load writes (and, for their
    // notes, for the ones it leaves alone) into accepted, once each; entries that
    // name no parameter, hold no number or occur more than once are refused.
    // Answers how many entries the load could write.
    int AcceptEntries(const TMemIniData& file, const QStringList& leftAlone, const QStringList& onlyItems,
                      TCustomIniFile& accepted, TLoadReport& report) const;
    // A note on item, with its entry as accepted from the file (or its key).
    TLoadNote Note(TOrvNumber* item, TLoadNote::Reason reason, TCustomIniFile& accepted) const;
    // Adds a refusal for each named item not refused already.
    void Refuse(const QStringList& names, TLoadNote::Reason reason, TCustomIniFile& accepted,
                TLoadReport& report);
    // After the writes: the values the unit holds otherwise than the file, and
    // the values an ordinary load left alone that differ from the unit.
    void NoteDifferences(const QList<TOrvNumber*>& loaded, const QStringList& leftAlone,
                         TCustomIniFile& accepted, TLoadReport& report);
    void ShowReport(const QString& fileName, const TLoadReport& report);
    // One pass over the items of a data group; the items whose entries were
    // kept or written are added to loaded, the written ones to written too.
    void ReadPass(TCustomIniFile& store, int group, const QStringList& leftAlone,
                  const QStringList& onlyItems, QList<TOrvNumber*>& loaded, QList<TOrvNumber*>& written,
                  TLoadReport& report);
    // Loads one entry: an absent entry, and a value the unit already holds, are
    // kept; a value the item does not allow is refused.
    EntryResult LoadEntry(TOrvNumber& item, TCustomIniFile& store);
    // Whether a file value is one the item allows: inside the catalogue's range
    // (or an over-speed "off" value) and one the item's bits can hold.
    static bool FileValueAllowed(TOrvNumber& item, double value);
    void CorrectOverSpeed();
    // After a load: MIN <= MAX and the actuator positions inside them; the items
    // that had to change are added to adjusted.
    void KeepActuatorPositionsInLimits(QStringList& adjusted);
    // Reads back the items a load wrote; the ones the unit does not hold as
    // written are added to notLoaded.
    void Verify(QStringList& notLoaded);
    // The reads that follow come from the unit, not from what the link holds of it.
    void AskForFreshReads();

    TSerialDataModule& m_module;
    QList<TOrvNumber*> m_writes; // the items the load wrote, in order
};
