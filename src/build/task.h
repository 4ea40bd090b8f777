#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

namespace torvane::build {

// The question dialog of batch scripts.
class TAsk final : public QDialog {
    Q_OBJECT

public:
    explicit TAsk(QWidget* parent = nullptr);
    // Shows the question modally with an empty answer; the answer's text when it closes.
    std::string AskQuestion(const std::string& question);
    QLabel* Question() const { return question_; }
    QLineEdit* Answer() const { return answer_; }

private:
    QLabel* question_ = nullptr;
    QLineEdit* answer_ = nullptr;
};

}  // namespace torvane::build
