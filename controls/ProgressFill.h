#pragma once

// TProgressFill shows a percentage as a bar filled from the left with a
// horizontal gradient from StartColor to EndColor in Steps bands, optionally
// inside a lowered bevel. At 0 % or 100 % with one colour for both ends it
// serves as a lamp (40 x 40 in the configuration window).

#include <QColor>
#include <QWidget>

class TProgressFill : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int Percent READ Percent WRITE SetPercent)
    Q_PROPERTY(QColor StartColor READ StartColor WRITE SetStartColor)
    Q_PROPERTY(QColor EndColor READ EndColor WRITE SetEndColor)
    Q_PROPERTY(int Steps READ Steps WRITE SetSteps)
    Q_PROPERTY(bool Lowered READ Lowered WRITE SetLowered)

public:
    explicit TProgressFill(QWidget* parent = nullptr);

    int Percent() const { return m_percent; }
    // Values outside 0..100 are held at the nearer end.
    void SetPercent(int percent);
    QColor StartColor() const { return m_startColor; }
    void SetStartColor(const QColor& color);
    QColor EndColor() const { return m_endColor; }
    void SetEndColor(const QColor& color);
    // Sets both ends to one colour.
    void SetColor(const QColor& color);
    int Steps() const { return m_steps; }
    // At least 1.
    void SetSteps(int steps);
    bool Lowered() const { return m_lowered; }
    void SetLowered(bool lowered);

    // The colour of band i of Steps, counted from the left.
    QColor BandColor(int band) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_percent = 0;
    QColor m_startColor{Qt::green};
    QColor m_endColor{Qt::green};
    int m_steps = 1;
    bool m_lowered = false;
};
