#pragma once

// (A·x + B) / (C·x + D) and its inverse.

#include "items/BaseTransformation.h"

#include <QList>

class TLinearTransformation : public TBaseTransformation {
    Q_OBJECT
    Q_PROPERTY(double CoeffA MEMBER m_a)
    Q_PROPERTY(double CoeffB MEMBER m_b)
    Q_PROPERTY(double CoeffC MEMBER m_c)
    Q_PROPERTY(double CoeffD MEMBER m_d)
    Q_PROPERTY(QList<double> Coeffs READ Coeffs WRITE SetCoeffs)

public:
    explicit TLinearTransformation(QObject* owner = nullptr);

    QList<double> Coeffs() const { return {m_a, m_b, m_c, m_d}; }
    // Takes the four coefficients A, B, C, D; a list of another length is ignored.
    void SetCoeffs(const QList<double>& coeffs);

protected:
    int DoTransform(double in, double* out) override;
    int DoAntiTransform(double in, double* out) override;

private:
    double m_a = 1;
    double m_b = 0;
    double m_c = 0;
    double m_d = 1;
};
