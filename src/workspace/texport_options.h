#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;

namespace torvane::workspace {

// "Export Options...": what the export of compiled packages writes. Classes are always
// exported; graphics, sounds and models on request. The boxes keep their state between uses.
class TExportOptions final : public QDialog {
    Q_OBJECT

public:
    explicit TExportOptions(QWidget* parent = nullptr);

    bool Classes() const;
    bool Graphics() const;
    bool Sounds() const;
    bool Models() const;  // checked or grey

    QCheckBox* ExpClasses() const { return classes_; }
    QCheckBox* ExpGfx() const { return graphics_; }
    QCheckBox* ExpSnd() const { return sounds_; }
    QCheckBox* ExpModels() const { return models_; }
    QPushButton* Button1() const { return ok_; }
    QPushButton* Button2() const { return cancel_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QCheckBox* classes_ = nullptr;
    QCheckBox* graphics_ = nullptr;
    QCheckBox* sounds_ = nullptr;
    QCheckBox* models_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace torvane::workspace
