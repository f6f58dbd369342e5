#pragma once

// The about box: the program's picture, name and version.

#include <QDialog>
#include <memory>

namespace Ui {
class TAboutBox;
}

class TAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* owner = nullptr);
    ~TAboutBox() override;

    void SetProductName(const QString& name);
    // Shows "Version: " and one more blank before the version text.
    void SetVersionText(const QString& version);
    QString VersionLabel() const;
    bool HasPicture() const;

protected:
    void reject() override;

private:
    std::unique_ptr<Ui::TAboutBox> m_ui;
};

// The program's file version from its own version information, or "not
// available" when it carries none.
QString ProgramVersionText();
