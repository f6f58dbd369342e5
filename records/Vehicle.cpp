#include "records/Vehicle.h"

#include <QList>
#include <QPair>
#include <QRegularExpression>
#include <QSet>

namespace {

constexpr int VinLength = 17;
constexpr int FirstYear = 1886;
constexpr int LastYear = 2200;

// The member holding a text field; null for the year or an unknown name.
QString TVehicle::*TextField(const QString& name)
{
    static const QList<QPair<QString, QString TVehicle::*>> fields = {
        {QStringLiteral("plate"), &TVehicle::plate},       {QStringLiteral("vin"), &TVehicle::vin},
        {QStringLiteral("customer"), &TVehicle::customer}, {QStringLiteral("phone"), &TVehicle::phone},
        {QStringLiteral("make"), &TVehicle::make},         {QStringLiteral("model"), &TVehicle::model},
        {QStringLiteral("engine"), &TVehicle::engine},     {QStringLiteral("kit"), &TVehicle::kit},
        {QStringLiteral("notes"), &TVehicle::notes},
    };
    for (const auto& field : fields) {
        if (field.first == name)
            return field.second;
    }
    return nullptr;
}

QString VinProblem(const QString& vin)
{
    static const QRegularExpression allowed(QStringLiteral("^[A-HJ-NPR-Z0-9]*$"));
    if (vin.size() != VinLength)
        return QStringLiteral("the VIN '%1' has %2 characters, not %3")
            .arg(vin)
            .arg(vin.size())
            .arg(VinLength);
    if (!allowed.match(vin.toUpper()).hasMatch())
        return QStringLiteral("the VIN '%1' holds a character other than the letters (but I, O, Q) and "
                              "digits a VIN is made of")
            .arg(vin);
    return QString();
}

} // namespace

const QStringList& VehicleFields::Names()
{
    static const QStringList names = {
        QStringLiteral("plate"), QStringLiteral("vin"),   QStringLiteral("customer"), QStringLiteral("phone"),
        QStringLiteral("make"),  QStringLiteral("model"), QStringLiteral("engine"),   QStringLiteral("year"),
        QStringLiteral("kit"),   QStringLiteral("notes"),
    };
    return names;
}

QString VehicleFields::Value(const TVehicle& vehicle, const QString& name)
{
    if (name == QLatin1String("year"))
        return vehicle.year > 0 ? QString::number(vehicle.year) : QString();
    QString TVehicle::*field = TextField(name);
    return field ? vehicle.*field : QString();
}

bool VehicleFields::SetValue(TVehicle& vehicle, const QString& name, const QString& value, QString* error)
{
    if (name == QLatin1String("year")) {
        bool ok = true;
        const int year = value.trimmed().isEmpty() ? 0 : value.trimmed().toInt(&ok);
        if (!ok) {
            *error = QStringLiteral("the year '%1' is no number").arg(value);
            return false;
        }
        vehicle.year = year;
        return true;
    }
    QString TVehicle::*field = TextField(name);
    if (!field) {
        *error = QStringLiteral("no vehicle field is called '%1'").arg(name);
        return false;
    }
    vehicle.*field = name == QLatin1String("vin") ? value.trimmed().toUpper() : value.trimmed();
    return true;
}

QString RecordKey(const QString& text)
{
    QString key = text.toCaseFolded();
    key.remove(u' ');
    key.remove(u'-');
    key.remove(u'\t');
    return key;
}

QString VehicleProblem(const TVehicle& vehicle)
{
    if (RecordKey(vehicle.plate).isEmpty())
        return QStringLiteral("a vehicle needs a plate");
    if (!vehicle.vin.isEmpty()) {
        const QString problem = VinProblem(vehicle.vin);
        if (!problem.isEmpty())
            return problem;
    }
    if (vehicle.year != 0 && (vehicle.year < FirstYear || vehicle.year > LastYear))
        return QStringLiteral("the year %1 is no vehicle's year").arg(vehicle.year);
    return QString();
}

QStringList SearchTerms(const TVehicle& vehicle)
{
    static const QRegularExpression separators(QStringLiteral("[\\s\\-]+"));
    QSet<QString> terms;
    for (const QString& text : {vehicle.plate, vehicle.vin, vehicle.customer, vehicle.make, vehicle.model}) {
        terms.insert(RecordKey(text));
        for (const QString& word : text.split(separators, Qt::SkipEmptyParts))
            terms.insert(RecordKey(word));
    }
    terms.remove(QString());
    QStringList sorted(terms.begin(), terms.end());
    sorted.sort();
    return sorted;
}
