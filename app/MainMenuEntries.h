#pragma once

// TMainMenuEntries is the main window's menu: the large text entries on a dark
// panel, one of them highlighted (yellow, underlined, the arrow beside it). The
// mouse highlights the entry under it and a click runs the entry's action; the
// window moves the highlight with the arrow keys and runs it with Enter.

#include <QList>
#include <QObject>

class QAction;
class QLabel;
class QWidget;

class TMainMenuEntries : public QObject {
    Q_OBJECT

public:
    // The entries' labels and the actions they run, in order; the arrow that
    // marks the highlighted entry. The panel behind them is made in the labels'
    // parent. The first entry starts highlighted.
    TMainMenuEntries(const QList<QLabel*>& labels, const QList<QAction*>& actions, QLabel* arrow,
                     int screenWidth, QObject* parent);

    int Highlighted() const;
    QLabel* Label(int index) const { return m_labels.value(index); }
    void Highlight(int entry);
    // To the next (step 1) or previous (step -1) visible entry, wrapping around.
    void MoveHighlight(int step);
    void RunHighlighted();
    // Centres the entries in the given width (the client area left of the
    // language strip) and places the panel behind them.
    void Centre(int width);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PlacePanel(int left, int widest);

    QList<QLabel*> m_labels;
    QList<QAction*> m_actions;
    QLabel* m_arrow;
    QWidget* m_panel;
    int m_screenWidth;
};
