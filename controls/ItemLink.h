#pragma once

// TItemLink is a bound control's reference to its data item: setting it moves
// the control from the old item's notification list to the new one's, and the
// control leaves the list when the link is destroyed with it. The reference is
// cleared when the item is destroyed first.

#include "items/OrvNumber.h"

#include <QPointer>

class TWindowMessage;

template <class Item> class TItemLink {
public:
    explicit TItemLink(QObject* control) : m_control(control) {}
    ~TItemLink() { Set(nullptr); }
    TItemLink(const TItemLink&) = delete;
    TItemLink& operator=(const TItemLink&) = delete;

    Item* Get() const { return m_item; }
    explicit operator bool() const { return !m_item.isNull(); }
    Item* operator->() const { return m_item; }

    void Set(Item* item)
    {
        if (item == m_item)
            return;
        if (m_item)
            m_item->RemoveNotificationList(m_control);
        m_item = item;
        if (item)
            item->AddNotificationList(m_control);
    }

private:
    QObject* m_control;
    QPointer<Item> m_item;
};

// Reads the item again from the unit, its held value counting as not yet read,
// the way GetData reads: on failure the previous value stands. Answers whether
// the read succeeded; value receives the item's user value either way.
bool ReadItemAgain(TOrvNumber& item, double* value);

// Whether the window message announces a new value of the item the control
// shows: WMDataChanged, or WMDataAvailable, whose raw value (wParam points at
// it) is first stored as the item's value; a live-data message without a value
// leaves the item as it is. False without an item.
bool TakeItemMessage(TOrvNumber* item, const TWindowMessage& message);
