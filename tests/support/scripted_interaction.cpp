#include "support/scripted_interaction.h"

#include <gtest/gtest.h>

namespace torvane::testing {

void ScriptedPrompter::Information(std::string_view text) {
    shown_.push_back({ShownMessage::Kind::Information, std::string(text)});
}

void ScriptedPrompter::Warning(std::string_view text) {
    shown_.push_back({ShownMessage::Kind::Warning, std::string(text)});
}

void ScriptedPrompter::Error(std::string_view text) {
    shown_.push_back({ShownMessage::Kind::Error, std::string(text)});
}

core::Answer ScriptedPrompter::Confirm(std::string_view text, core::Buttons) {
    shown_.push_back({ShownMessage::Kind::Confirm, std::string(text)});
    if (answers_.empty()) {
        ADD_FAILURE() << "unexpected question: " << text;
        return core::Answer::Cancel;
    }
    const core::Answer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

void RecordingOutputLog::ReplaceLastLine(std::string_view line) {
    if (lines_.empty()) {
        lines_.emplace_back(line);
    } else {
        lines_.back() = std::string(line);
    }
}

void RecordingOutputLog::DeleteLastLine() {
    if (!lines_.empty()) lines_.pop_back();
}

void ScriptedEventPump::ProcessPendingEvents() {
    ++calls_;
    if (action_) action_(calls_);
}

}  // namespace torvane::testing
