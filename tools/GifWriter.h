#pragma once

// Writes an animated GIF (GIF89a) from frames of the same size. The frames are
// drawn with few colours; all of them share one palette of at most 256 colours
// (colours beyond that are mapped to the nearest one already in the palette).

#include <QImage>
#include <QList>
#include <QString>

class TGifWriter {
public:
    // Each frame is shown for delay hundredths of a second; the animation loops.
    bool Write(const QString& fileName, const QList<QImage>& frames, int delay) const;
};
