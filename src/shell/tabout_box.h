#pragma once

#include <QDialog>

namespace torvane::shell {

// The about box: picture, "Torvane", the version, a link to the project page and OK.
class TAboutBox final : public QDialog {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent = nullptr);
};

}  // namespace torvane::shell
