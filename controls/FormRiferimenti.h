#pragma once

// TFormRiferimenti is the map grid's dialog for the breakpoints of one axis:
// one numeric edit per breakpoint in a scroll box, each with its label
// ("Riferimento 3" for the third), chained so that Return and the arrows walk
// through them. With an order to insist on (SortType), OK is refused while two
// neighbouring breakpoints are out of that order: the order message is shown,
// the first edit of the pair takes the focus and the dialog stays open. It
// lives for one edit.

#include "controls/GridReference.h"

#include <QDialog>
#include <QList>
#include <QStringList>
#include <QVector>
#include <functional>
#include <memory>

class TNumericEdit;

namespace Ui {
class TFormRiferimenti;
}

class TFormRiferimenti : public QDialog {
    Q_OBJECT

public:
    // Shows the order message: by default a message box with the stop icon.
    using TStopMessage = std::function<void(const QString& caption, const QString& text)>;

    explicit TFormRiferimenti(QWidget* owner = nullptr);
    ~TFormRiferimenti() override;

    TGridReference::TRefSortType SortType() const { return m_sortType; }
    void SetSortType(TGridReference::TRefSortType type) { m_sortType = type; }
    // Takes its texts from name=value lines: Caption, RefTitle, ButtonOk,
    // ButtonCancel, SortError (the order message) and RefLabel (the start of
    // each breakpoint's label); a name that is missing keeps its text. Set
    // them before adding the breakpoints.
    void SetTexts(const QStringList& texts);
    QString SortError() const { return m_sortError; }

    // Adds the next breakpoint's label and edit (named "Edit" and its index)
    // with the given limits and step, showing value.
    void AddReference(double value, double minValue, double maxValue, double precision);
    const QList<TNumericEdit*>& Edits() const { return m_edits; }
    // The breakpoints as the edits read them.
    QVector<double> Values() const;

    TStopMessage ShowStopMessage;

    // OK: closes only when the breakpoints are in order.
    void accept() override;

private:
    // The first of two neighbouring breakpoints out of order, or -1.
    int FirstOutOfOrder() const;

    std::unique_ptr<Ui::TFormRiferimenti> m_ui;
    TGridReference::TRefSortType m_sortType = TGridReference::stNone;
    QString m_sortError = QStringLiteral("I riferimenti devono essere oridinati!");
    QString m_refLabel = QStringLiteral("Riferimento");
    QList<TNumericEdit*> m_edits;
};
