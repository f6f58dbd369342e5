#include "items/BaseTransformation.h"

TBaseTransformation::TBaseTransformation(QObject* owner) : QObject(owner) {}

int TBaseTransformation::Transform(double in, double* out)
{
    if (!m_enabled) {
        *out = in;
        return Done;
    }
    return DoTransform(in, out);
}

int TBaseTransformation::AntiTransform(double in, double* out)
{
    if (!m_enabled) {
        *out = in;
        return Done;
    }
    return DoAntiTransform(in, out);
}

int TBaseTransformation::DoTransform(double, double*)
{
    return NoHandler;
}

int TBaseTransformation::DoAntiTransform(double, double*)
{
    return NoHandler;
}

bool IsOrvTransformation(const QObject* component)
{
    return qobject_cast<const TBaseTransformation*>(component) != nullptr;
}
