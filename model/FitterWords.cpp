#include "model/FitterWords.h"

#include "items/OrvNumber.h"
#include "model/ConfigurationPages.h"
#include "support/TextIndex.h"
#include "support/Translator.h"

#include <cmath>

namespace {

using Kind = TPageSetting::Kind;

// The locale of each language of the store, for the numbers.
QLocale LocaleOf(int language)
{
    static const QList<QLocale::Language> languages = {QLocale::Italian, QLocale::English, QLocale::Spanish,
                                                       QLocale::French,  QLocale::German,  QLocale::Russian};
    return QLocale(languages.value(language, QLocale::English));
}

// TIPO_COMMUTATORE: the bits that tell the switch kind, and their two patterns,
// as the configuration window reads them.
constexpr int SwitchMask = 0x87;
constexpr int PushButtonOnly = 0x05;
constexpr int WithIndicator = 0x84;

bool IsCheckBox(const TPageSetting& setting)
{
    return setting.kind == Kind::Flag || setting.kind == Kind::Below;
}

bool Checked(const TPageSetting& setting, double value)
{
    if (setting.kind == Kind::Below)
        return value < setting.condition;
    const int mask = int(setting.condition);
    return (int(std::lround(value)) & mask) == mask;
}

struct BackupReasonText {
    const char* reason;
    int text;
};

const BackupReasonText BackupReasons[] = {
    {"connect", TextIndex::BackupAtConnect},
    {"before-load", TextIndex::BackupBeforeLoad},
    {"before-erase", TextIndex::BackupBeforeErase},
    {"before-firmware", TextIndex::BackupBeforeFirmware},
    {"before-restore", TextIndex::BackupBeforeRestore},
};

// Captions of items no page shows that a change or a comparison brings up
// (the engine speeds the ignition type rescales).
struct ItemCaption {
    const char* item;
    int caption;
};

const ItemCaption OtherCaptions[] = {
    {"GiriSbananata", TextIndex::FullPowerBandRpm},
};

} // namespace

TFitterWords::TFitterWords(TTranslator& translator)
    : m_translator(translator), m_locale(LocaleOf(translator.LinguaCorrente()))
{
}

QString TFitterWords::Text(int index, const QString& fallback) const
{
    return m_translator.GetString(index, fallback);
}

const TPageSetting* TFitterWords::ValueSetting(const TOrvNumber& item)
{
    for (const TPageSetting& setting : ConfigurationPages::Settings()) {
        if (item.objectName() == QLatin1String(setting.item) && !IsCheckBox(setting))
            return &setting;
    }
    return nullptr;
}

QList<const TPageSetting*> TFitterWords::CheckBoxes(const TOrvNumber& item)
{
    QList<const TPageSetting*> boxes;
    for (const TPageSetting& setting : ConfigurationPages::Settings()) {
        if (item.objectName() == QLatin1String(setting.item) && IsCheckBox(setting))
            boxes << &setting;
    }
    return boxes;
}

QString TFitterWords::Caption(const TOrvNumber& item) const
{
    if (const TPageSetting* setting = ValueSetting(item))
        return Text(setting->caption, item.FileKeyName());
    for (const ItemCaption& other : OtherCaptions) {
        if (item.objectName() == QLatin1String(other.item))
            return Text(other.caption, item.FileKeyName());
    }
    return item.FileKeyName();
}

QString TFitterWords::Number(const TOrvNumber& item, double value) const
{
    const double step = item.Precision();
    QString text;
    if (step > 0) {
        const int decimals = step < 1 ? int(std::ceil(-std::log10(step) - 1e-9)) : 0;
        text = m_locale.toString(value, 'f', decimals);
    } else {
        // No step: up to three decimals, the trailing zeros left out.
        text = m_locale.toString(value, 'f', 3);
        const QString point = m_locale.decimalPoint();
        while (text.contains(point) && text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(point))
            text.chop(point.size());
    }
    text.remove(m_locale.groupSeparator());
    return item.MeasureUnit().isEmpty() ? text : text + u' ' + item.MeasureUnit();
}

QString TFitterWords::SettingText(const TPageSetting& setting, const TOrvNumber& item, double value) const
{
    const int whole = int(std::lround(value));
    switch (setting.kind) {
    case Kind::Number:
        break;
    case Kind::Choice:
        if (whole >= 0 && whole <= setting.last - setting.first)
            return Text(setting.first + whole, QString::number(whole));
        break;
    case Kind::Switch:
        if ((whole & SwitchMask) == PushButtonOnly)
            return Text(setting.first, QString::number(whole));
        if ((whole & SwitchMask) == WithIndicator)
            return Text(setting.last, QString::number(whole));
        break;
    case Kind::Flag:
    case Kind::Below:
        return Checked(setting, value) ? Text(TextIndex::Yes, QStringLiteral("Yes"))
                                       : Text(TextIndex::No, QStringLiteral("No"));
    }
    return Number(item, value);
}

QString TFitterWords::Value(const TOrvNumber& item, double value) const
{
    if (const TPageSetting* setting = ValueSetting(item))
        return SettingText(*setting, item, value);
    const QList<const TPageSetting*> boxes = CheckBoxes(item);
    if (boxes.isEmpty())
        return Number(item, value);
    QStringList options;
    for (const TPageSetting* box : boxes)
        options << Text(box->caption, QString()) + QStringLiteral(": ") + SettingText(*box, item, value);
    return options.join(QStringLiteral(", "));
}

QList<TValueWords> TFitterWords::Difference(const TOrvNumber& item, double before, double after) const
{
    QList<TValueWords> lines;
    const TPageSetting* setting = ValueSetting(item);
    if (setting) {
        const QString from = SettingText(*setting, item, before);
        const QString to = SettingText(*setting, item, after);
        if (from != to)
            lines.append({Caption(item), from, to});
    }
    for (const TPageSetting* box : CheckBoxes(item)) {
        if (Checked(*box, before) != Checked(*box, after))
            lines.append({Text(box->caption, item.FileKeyName()), SettingText(*box, item, before),
                          SettingText(*box, item, after)});
    }
    if (lines.isEmpty() && before != after)
        lines.append({Caption(item), Number(item, before), Number(item, after)});
    return lines;
}

QString TFitterWords::BackupReason(const QString& reason) const
{
    for (const BackupReasonText& known : BackupReasons) {
        if (reason == QLatin1String(known.reason))
            return Text(known.text, reason);
    }
    return reason;
}
