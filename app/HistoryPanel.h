#pragma once

// THistoryPanel lists the changes of the configuration window's session, the
// newest last, in a small tool window beside it, in the fitter's words and in
// the language of the moment: "Tipo accensione: 4 cilindri → 6 cilindri", the
// values the rules rewrote with a change shown under it. Clicking a change
// undoes or redoes up to it; the changes undone are greyed. The window closes
// it with itself, and disables it while no unit is connected (a row would
// write to the unit). Its text is sized like the program's other windows.

#include <QWidget>

class QTreeWidget;
class QTreeWidgetItem;
class QUndoStack;
class TTranslator;

class THistoryPanel : public QWidget {
    Q_OBJECT

public:
    THistoryPanel(QUndoStack* stack, TTranslator* translator, int screenWidth, QWidget* parent);

    // caption: the window's title; cleanText: the row of the state before any
    // change. The changes are told again in the current language.
    void SetTexts(const QString& caption, const QString& cleanText);

    QTreeWidget* Tree() const { return m_tree; }

private:
    void Rebuild();
    void RowClicked(QTreeWidgetItem* row);

    QUndoStack* m_stack;
    TTranslator* m_translator;
    QTreeWidget* m_tree;
    QString m_cleanText;
};
