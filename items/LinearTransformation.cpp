#include "items/LinearTransformation.h"

TLinearTransformation::TLinearTransformation(QObject* owner) : TBaseTransformation(owner) {}

void TLinearTransformation::SetCoeffs(const QList<double>& coeffs)
{
    if (coeffs.size() != 4)
        return;
    m_a = coeffs[0];
    m_b = coeffs[1];
    m_c = coeffs[2];
    m_d = coeffs[3];
}

int TLinearTransformation::DoTransform(double in, double* out)
{
    const double d = in * m_c + m_d;
    if (d == 0)
        return DivisionByZero;
    *out = (m_a * in + m_b) / d;
    return Done;
}

int TLinearTransformation::DoAntiTransform(double in, double* out)
{
    const double d = in * m_c - m_a;
    if (d == 0)
        return DivisionByZero;
    *out = (m_b - in * m_d) / d;
    return Done;
}
