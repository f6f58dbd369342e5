#pragma once

// Faults tzr582-unit puts on its line: a share of the bytes dropped or replaced
// by another value, in both directions, from a seeded generator so that a run
// can be repeated.

#include <QByteArray>

#include <random>

class LineFaults {
public:
    LineFaults(double dropShare, double corruptShare, unsigned seed)
        : m_drop(dropShare), m_corrupt(corruptShare), m_random(seed)
    {
    }

    QByteArray apply(const QByteArray& bytes);
    bool active() const { return m_drop > 0 || m_corrupt > 0; }
    long long dropped() const { return m_dropped; }
    long long corrupted() const { return m_corrupted; }

private:
    double m_drop;
    double m_corrupt;
    std::mt19937 m_random;
    std::uniform_real_distribution<double> m_share{0.0, 1.0};
    long long m_dropped = 0;
    long long m_corrupted = 0;
};
