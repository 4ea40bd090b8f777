#include "shell/qt_interaction.h"

#include <QCoreApplication>
#include <QMessageBox>

#include "widgets/text_codec.h"

namespace torvane::shell {
namespace {

const QString kTitle = QStringLiteral("Torvane");

// A message box above every other window of the program, the start-up splash included (questions
// asked during start-up would be hidden behind it otherwise).
int ShowBox(QWidget* parent, QMessageBox::Icon icon, std::string_view text, QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, kTitle, widgets::ToQString(text), buttons, parent);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    return box.exec();
}

}  // namespace

void MessageBoxPrompter::Information(std::string_view text) {
    ShowBox(parent_, QMessageBox::Information, text, QMessageBox::Ok);
}

void MessageBoxPrompter::Warning(std::string_view text) {
    ShowBox(parent_, QMessageBox::Warning, text, QMessageBox::Ok);
}

void MessageBoxPrompter::Error(std::string_view text) {
    ShowBox(parent_, QMessageBox::Critical, text, QMessageBox::Ok);
}

core::Answer MessageBoxPrompter::Confirm(std::string_view text, core::Buttons buttons) {
    QMessageBox::StandardButtons choice = QMessageBox::Yes | QMessageBox::No;
    if (buttons != core::Buttons::YesNo) choice |= QMessageBox::Cancel;
    if (buttons == core::Buttons::YesNoCancelAll) choice |= QMessageBox::YesToAll;
    switch (ShowBox(parent_, QMessageBox::Question, text, choice)) {
        case QMessageBox::Yes: return core::Answer::Yes;
        case QMessageBox::No: return core::Answer::No;
        case QMessageBox::YesToAll: return core::Answer::All;
        default: return core::Answer::Cancel;
    }
}

void QtEventPump::ProcessPendingEvents() { QCoreApplication::processEvents(); }

}  // namespace torvane::shell
