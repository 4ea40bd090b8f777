#pragma once

#include <QPointer>
#include <QWidget>

#include "core/interaction.h"

// The user-interaction interfaces on Qt: message boxes, and the event loop.
namespace torvane::shell {

class MessageBoxPrompter final : public core::Prompter {
public:
    explicit MessageBoxPrompter(QWidget* parent) : parent_(parent) {}
    void Information(std::string_view text) override;
    void Warning(std::string_view text) override;
    void Error(std::string_view text) override;
    core::Answer Confirm(std::string_view text, core::Buttons buttons) override;

private:
    QPointer<QWidget> parent_;
};

class QtEventPump final : public core::EventPump {
public:
    void ProcessPendingEvents() override;
};

}  // namespace torvane::shell
