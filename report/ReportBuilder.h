#pragma once

// TReportBuilder puts the customer's report together from the data module: the
// settings of a configuration (the unit's, or a file's) with the captions and
// lists of the configuration window in the translator's current language, the
// values changed against an earlier configuration, and a road test's verdict.

#include "backup/BackupStore.h"
#include "report/ReportDocument.h"
#include "roadtest/RoadTestResult.h"

#include <QDateTime>
#include <QHash>

class TOrvNumber;
class TRoadTestText;
class TSerialDataModule;
struct TPageSetting;

// Configuration values by file key in upper case, as ConfigurationEntries reads them.
using TConfigurationValues = QHash<QString, double>;

struct TReportRequest {
    QDateTime date;
    QString workshopName;
    QString workshopAddress;
    TReportVehicle vehicle;
    // The configuration reported, and where it comes from: the unit (its
    // identity record and firmware version known) or a file (empty).
    TConfigurationValues values;
    QString identity;
    QString firmware;
    QString configurationFile; // the file's name when the values come from one
    // The configuration it is compared with; empty: the factory values.
    TConfigurationValues previous;
    QDateTime previousDate;
    // The road test, when a log was given.
    bool roadTest = false;
    TRoadTestResult result;
    QString logName;
    QImage plot;
};

class TReportBuilder {
public:
    explicit TReportBuilder(TSerialDataModule& module);

    TReportDocument Build(const TReportRequest& request) const;

    // What the module's items hold now (the unit's configuration after a connect).
    static TConfigurationValues ModuleValues(const TSerialDataModule& module);
    // The connected unit's configuration into the request: its values, its
    // identity and firmware, and the previous configuration on record.
    static void TakeUnit(TSerialDataModule& module, TReportRequest& request);
    // The newest backup whose values differ from `values`; false when there is none.
    static bool PreviousOnRecord(const QList<TBackupEntry>& backups, const TConfigurationValues& values,
                                 TConfigurationValues& previous, QDateTime& date);

private:
    QString Text(int index, const QString& english) const;
    QString Number(const TOrvNumber& item, double value) const;
    QString SettingText(const TPageSetting& setting, const TOrvNumber& item, double value) const;
    // The caption and value text of an item the way the report shows it.
    QString Caption(const TOrvNumber& item) const;
    QString ValueText(const TOrvNumber& item, double value) const;
    QList<TReportSection> SettingSections(const TConfigurationValues& values) const;
    TReportSection Changes(const TReportRequest& request) const;
    QList<TReportSection> RoadTest(const TReportRequest& request) const;

    TSerialDataModule& m_module;
    QLocale m_locale;
};
