#pragma once

// TDataTags are the numbers an unbound entry field carries for the application
// that places it: which datum it edits (DataCode), which element of it
// (DataIndex), and from which user level it is shown (VisibilityLevel, 0..100).
// The controls themselves never read them.

#include <QtGlobal>

class TDataTags {
public:
    int DataCode() const { return m_dataCode; }
    void SetDataCode(int code) { m_dataCode = code; }
    int DataIndex() const { return m_dataIndex; }
    void SetDataIndex(int index) { m_dataIndex = index; }
    int VisibilityLevel() const { return m_visibilityLevel; }
    void SetVisibilityLevel(int level) { m_visibilityLevel = qBound(0, level, 100); }

protected:
    TDataTags() = default;
    ~TDataTags() = default;

private:
    int m_dataCode = -1;
    int m_dataIndex = -1;
    int m_visibilityLevel = 90;
};
