#pragma once

// A transformation applied to an external coefficient of a data item.
// Transform and AntiTransform return 0 when done, 1 on a division by zero and
// 2 when there is nothing to apply. A disabled transformation copies its input.

#include <QObject>

class TBaseTransformation : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)

public:
    enum Result { Done = 0, DivisionByZero = 1, NoHandler = 2 };

    explicit TBaseTransformation(QObject* owner = nullptr);

    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled) { m_enabled = enabled; }

    int Transform(double in, double* out);
    int AntiTransform(double in, double* out);

protected:
    virtual int DoTransform(double in, double* out);
    virtual int DoAntiTransform(double in, double* out);

private:
    bool m_enabled = true;
};

bool IsOrvTransformation(const QObject* component);
