#pragma once

// THistoryPanel lists the changes of the configuration window's session, the
// newest last, in a small tool window beside it: clicking a row undoes or
// redoes up to that change. The window closes it with itself, and disables it
// while no unit is connected (a row would write to the unit).

#include <QWidget>

class QUndoStack;
class QUndoView;

class THistoryPanel : public QWidget {
    Q_OBJECT

public:
    THistoryPanel(QUndoStack* stack, QWidget* parent);

    // caption: the window's title; cleanText: the row of the state before any change.
    void SetTexts(const QString& caption, const QString& cleanText);

private:
    QUndoView* m_view;
};
