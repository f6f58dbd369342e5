#pragma once

// A transformation whose two directions are event handlers.

#include "items/BaseTransformation.h"
#include "items/OrvEvents.h"

class TCustomTransformation : public TBaseTransformation {
    Q_OBJECT

public:
    explicit TCustomTransformation(QObject* owner = nullptr);

    TConvertToUserEvent OnConvertToUser;
    TConvertToEcuEvent OnConvertToEcu;

protected:
    int DoTransform(double in, double* out) override;
    int DoAntiTransform(double in, double* out) override;
};
