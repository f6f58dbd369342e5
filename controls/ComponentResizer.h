#pragma once

// TComponentResizer is a free-standing resizer that can be attached to any
// control through its Component property. It is created without a control and
// stays locked and inert until it has one.

#include "controls/Resizer.h"

class TComponentResizer : public TResizer {
    Q_OBJECT
    Q_PROPERTY(QWidget* Component READ Component WRITE SetComponent)

public:
    explicit TComponentResizer(QObject* owner = nullptr);

    QWidget* Component() const { return Control(); }
    // Moves the resizer to another control, keeping its lock state; without a
    // control it stays locked.
    void SetComponent(QWidget* control);
};
