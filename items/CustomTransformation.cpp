#include "items/CustomTransformation.h"

#include "items/Rounding.h"

TCustomTransformation::TCustomTransformation(QObject* owner) : TBaseTransformation(owner) {}

int TCustomTransformation::DoTransform(double in, double* out)
{
    if (!OnConvertToUser)
        return NoHandler;
    OnConvertToUser(this, TruncToInt(in), *out);
    return Done;
}

int TCustomTransformation::DoAntiTransform(double in, double* out)
{
    if (!OnConvertToEcu)
        return NoHandler;
    int converted = TruncToInt(*out);
    OnConvertToEcu(this, in, converted);
    *out = converted;
    return Done;
}
