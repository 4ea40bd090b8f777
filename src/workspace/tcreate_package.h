#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace torvane::workspace {

struct NewPackageRequest;

// "Create New Package...": the package's name and the directories to make below it. "Classes" is
// always made; the others on request, with "Others" one directory per line.
class TCreatePackage final : public QDialog {
    Q_OBJECT

public:
    explicit TCreatePackage(QWidget* parent = nullptr);

    // An empty name, only "Classes" ticked, no other directories.
    void Prepare();
    NewPackageRequest Request() const;
    // Consulted on Ok with the request; false (a refusal) keeps the dialog open.
    void SetCreator(std::function<bool(const NewPackageRequest&)> creator) { creator_ = std::move(creator); }
    void accept() override;

    QLineEdit* PackageName() const { return name_; }
    QCheckBox* Classes() const { return classes_; }
    QCheckBox* Textures() const { return textures_; }
    QCheckBox* Sounds() const { return sounds_; }
    QCheckBox* Music() const { return music_; }
    QCheckBox* Models() const { return models_; }
    QCheckBox* Others() const { return others_; }
    QPlainTextEdit* OtherDirs() const { return otherDirs_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

private:
    std::function<bool(const NewPackageRequest&)> creator_;
    QLineEdit* name_ = nullptr;
    QCheckBox* classes_ = nullptr;
    QCheckBox* textures_ = nullptr;
    QCheckBox* sounds_ = nullptr;
    QCheckBox* music_ = nullptr;
    QCheckBox* models_ = nullptr;
    QCheckBox* others_ = nullptr;
    QPlainTextEdit* otherDirs_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace torvane::workspace
