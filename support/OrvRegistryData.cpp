#include "support/OrvRegistryData.h"

#include "support/TextValues.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

// name=value lists: the name is the text before the first "=", names compare
// without regard to case and the first line of a name is the one that counts.

// The text before the first "="; a line without "=" has no name.
QString NameOf(const QString& line)
{
    const qsizetype equals = line.indexOf(u'=');
    return equals < 0 ? QString() : line.left(equals);
}

int IndexOfName(const QStringList& list, const QString& name)
{
    for (int i = 0; i < list.size(); ++i) {
        if (list.at(i).contains(u'=') && NameOf(list.at(i)).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString ValueOf(const QStringList& list, const QString& name)
{
    const int i = IndexOfName(list, name);
    return i < 0 ? QString() : list.at(i).section(u'=', 1);
}

// Assigning the empty text removes the name's line.
void AssignValue(QStringList& list, const QString& name, const QString& value)
{
    const int i = IndexOfName(list, name);
    if (value.isEmpty()) {
        if (i >= 0)
            list.removeAt(i);
    } else if (i < 0) {
        list.append(name + u'=' + value);
    } else {
        list[i] = name + u'=' + value;
    }
}

// The setting names of a list, taken once so that assignments do not disturb the pass.
QStringList NamesOf(const QStringList& list)
{
    QStringList names;
    for (const QString& line : list) {
        if (!NameOf(line).isEmpty())
            names.append(NameOf(line));
    }
    return names;
}

bool StoredInteger(const QVariant& stored, int& value)
{
    bool ok = false;
    const int parsed = stored.typeId() == QMetaType::Int       ? stored.toInt(&ok)
                       : stored.typeId() == QMetaType::QString ? stored.toString().toInt(&ok, 10)
                                                               : 0;
    if (ok)
        value = parsed;
    return ok;
}

} // namespace

TOrvRegistryData::TOrvRegistryData(QObject* parent) : QObject(parent) {}

TOrvRegistryData::~TOrvRegistryData()
{
    SaveData();
}

QString TOrvRegistryData::SettingsFileName() const
{
    QStringList parts = QString(m_keyName).replace(u'\\', u'/').split(u'/', Qt::SkipEmptyParts);
    parts.removeAll(QStringLiteral("."));
    parts.removeAll(QStringLiteral(".."));
    if (!parts.isEmpty() && parts.first().compare(QLatin1String("software"), Qt::CaseInsensitive) == 0)
        parts.removeFirst();
    if (parts.isEmpty())
        return QString();
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' + parts.join(u'/') +
           QLatin1String(".conf");
}

bool TOrvRegistryData::LoadData()
{
    const QString fileName = SettingsFileName();
    if (fileName.isEmpty())
        return false;
    const QSettings store(fileName, QSettings::IniFormat);
    if (store.status() != QSettings::NoError)
        return false;

    bool result = true;
    for (const QString& name : NamesOf(m_stringData)) {
        const QVariant stored = store.value(name);
        if (stored.typeId() == QMetaType::QString) {
            AssignValue(m_stringData, name, stored.toString());
        } else {
            AssignValue(m_stringData, name, DoMissingStringValue(name));
            result = false;
        }
    }
    for (const QString& name : NamesOf(m_integerData)) {
        int value = 0;
        if (!StoredInteger(store.value(name), value)) {
            value = DoMissingIntegerValue(name);
            result = false;
        }
        AssignValue(m_integerData, name, QString::number(value));
    }
    return result;
}

bool TOrvRegistryData::SaveData()
{
    const QString fileName = SettingsFileName();
    if (fileName.isEmpty())
        return false;
    QSettings store(fileName, QSettings::IniFormat);
    if (store.status() != QSettings::NoError)
        return false;

    bool result = true;
    for (const QString& name : NamesOf(m_stringData))
        store.setValue(name, ValueOf(m_stringData, name));
    for (const QString& name : NamesOf(m_integerData)) {
        int value = 0;
        if (ParseIntegerText(ValueOf(m_integerData, name), value))
            store.setValue(name, value);
        else
            result = false;
    }
    store.sync();
    return result && store.status() == QSettings::NoError;
}

QString TOrvRegistryData::GetStringData(const QString& name) const
{
    return ValueOf(m_stringData, name);
}

int TOrvRegistryData::GetIntData(const QString& name) const
{
    return IntegerTextOr(ValueOf(m_integerData, name), 0);
}

void TOrvRegistryData::SetStringData(const QString& name, const QString& value)
{
    if (IndexOfName(m_stringData, name) < 0)
        m_stringData.append(name + u'=' + value);
    else
        AssignValue(m_stringData, name, value);
}

void TOrvRegistryData::SetIntData(const QString& name, int value)
{
    AssignValue(m_integerData, name, QString::number(value));
}

int TOrvRegistryData::GetCount(int kind) const
{
    switch (kind) {
    case StringKind:
        return m_stringData.size();
    case IntegerKind:
        return m_integerData.size();
    default:
        return 0;
    }
}

void TOrvRegistryData::DeleteStringValue(const QString& name, bool fromRegistry)
{
    DeleteValue(m_stringData, name, fromRegistry);
}

void TOrvRegistryData::DeleteIntegerValue(const QString& name, bool fromRegistry)
{
    DeleteValue(m_integerData, name, fromRegistry);
}

void TOrvRegistryData::DeleteValue(QStringList& list, const QString& name, bool fromRegistry)
{
    const int i = IndexOfName(list, name);
    if (i >= 0)
        list.removeAt(i);
    const QString fileName = SettingsFileName();
    // An empty name would make the settings store remove every value.
    if (fromRegistry && !name.isEmpty() && !fileName.isEmpty() && QFileInfo::exists(fileName))
        QSettings(fileName, QSettings::IniFormat).remove(name);
}

void TOrvRegistryData::SetStringList(int kind, QStringList& lines)
{
    for (int i = lines.size() - 1; i >= 0; --i) {
        if (lines.at(i).contains(u'='))
            lines[i] = TrimBlanks(lines.at(i));
        else
            lines.removeAt(i);
    }
    if (kind == StringKind) {
        m_stringData = lines;
    } else if (kind == IntegerKind) {
        m_integerData = lines;
        for (QString& line : m_integerData) {
            int value = 0;
            if (!ParseIntegerText(line.section(u'=', 1), value))
                line = NameOf(line) + QLatin1String("=0");
        }
    }
}

int TOrvRegistryData::DoMissingIntegerValue(const QString& name)
{
    int value = GetIntData(name);
    if (OnMissingIntegerValue)
        OnMissingIntegerValue(this, name, value);
    return value;
}

QString TOrvRegistryData::DoMissingStringValue(const QString& name)
{
    QString value = GetStringData(name);
    if (OnMissingStringValue)
        OnMissingStringValue(this, name, value);
    return value;
}
