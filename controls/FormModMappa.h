#pragma once

// TFormModMappa is the map grid's dialog for changing a range of cells at
// once: a value field and the kind of change (0 absolute: every cell takes the
// value, 1 relative: the value is added, 2 percentage: the cells are scaled by
// it). OK is the default button. It starts with the value 0 and the absolute
// mode, and keeps the mode last chosen.

#include <QDialog>
#include <QStringList>
#include <memory>

class QButtonGroup;
class TNumericEdit;

namespace Ui {
class TFormModMappa;
}

class TFormModMappa : public QDialog {
    Q_OBJECT

public:
    explicit TFormModMappa(QWidget* owner = nullptr);
    ~TFormModMappa() override;

    TNumericEdit* ValueEdit() const;
    // The kind of change: 0 absolute, 1 relative, 2 percentage.
    int Mode() const;
    void SetMode(int mode);
    // Takes its texts from name=value lines: Caption, ButtonOk, ButtonCancel,
    // GroupMode, Mode1, Mode2, Mode3; a name that is missing keeps its text.
    void SetTexts(const QStringList& texts);

private:
    std::unique_ptr<Ui::TFormModMappa> m_ui;
    QButtonGroup* m_modes;
};
