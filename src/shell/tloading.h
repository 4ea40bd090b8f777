#pragma once

#include <QWidget>

class QLabel;
class QStatusBar;

namespace torvane::shell {

// The splash window: picture, product name, version, and a status line other parts write to.
class TLoading final : public QWidget {
    Q_OBJECT

public:
    explicit TLoading(QWidget* parent = nullptr);
    void SetStatus(const QString& text);
    QString Status() const;

private:
    QStatusBar* status_ = nullptr;
};

}  // namespace torvane::shell
