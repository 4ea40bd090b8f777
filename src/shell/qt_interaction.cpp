#include "shell/qt_interaction.h"

#include <QCoreApplication>
#include <QMessageBox>

#include "widgets/text_codec.h"

namespace torvane::shell {
namespace {

const QString kTitle = QStringLiteral("Torvane");

}  // namespace

void MessageBoxPrompter::Information(std::string_view text) {
    QMessageBox::information(parent_, kTitle, widgets::ToQString(text));
}

void MessageBoxPrompter::Warning(std::string_view text) {
    QMessageBox::warning(parent_, kTitle, widgets::ToQString(text));
}

void MessageBoxPrompter::Error(std::string_view text) {
    QMessageBox::critical(parent_, kTitle, widgets::ToQString(text));
}

core::Answer MessageBoxPrompter::Confirm(std::string_view text, core::Buttons buttons) {
    QMessageBox::StandardButtons choice = QMessageBox::Yes | QMessageBox::No;
    if (buttons != core::Buttons::YesNo) choice |= QMessageBox::Cancel;
    if (buttons == core::Buttons::YesNoCancelAll) choice |= QMessageBox::YesToAll;
    switch (QMessageBox::question(parent_, kTitle, widgets::ToQString(text), choice)) {
        case QMessageBox::Yes: return core::Answer::Yes;
        case QMessageBox::No: return core::Answer::No;
        case QMessageBox::YesToAll: return core::Answer::All;
        default: return core::Answer::Cancel;
    }
}

void QtEventPump::ProcessPendingEvents() { QCoreApplication::processEvents(); }

}  // namespace torvane::shell
