#include "build/task.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/text_codec.h"

namespace torvane::build {

TAsk::TAsk(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TAsk"));
    setWindowTitle(QStringLiteral("Ask..."));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    question_ = new QLabel(this);
    question_->setObjectName(QStringLiteral("Question"));
    answer_ = new QLineEdit(this);
    answer_->setObjectName(QStringLiteral("Answer"));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(question_);
    layout->addWidget(answer_);
    layout->addWidget(ok, 0, Qt::AlignCenter);
}

std::string TAsk::AskQuestion(const std::string& question) {
    question_->setText(widgets::ToQString(question));
    answer_->clear();
    exec();  // OK or the close box: the answer is taken either way
    return widgets::FromQString(answer_->text());
}

}  // namespace torvane::build
