#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/interaction.h"

// Scripted stand-ins for the user: answers come from a list given in advance, and everything
// shown is recorded for the test to check.
namespace torvane::testing {

struct ShownMessage {
    enum class Kind { Information, Warning, Error, Confirm } kind;
    std::string text;
};

class ScriptedPrompter final : public core::Prompter {
public:
    // Answers handed out to Confirm in order; a Confirm with no answer left fails the test.
    void QueueAnswer(core::Answer answer) { answers_.push_back(answer); }

    void Information(std::string_view text) override;
    void Warning(std::string_view text) override;
    void Error(std::string_view text) override;
    core::Answer Confirm(std::string_view text, core::Buttons buttons) override;

    const std::vector<ShownMessage>& shown() const { return shown_; }
    std::size_t unusedAnswers() const { return answers_.size(); }

private:
    std::deque<core::Answer> answers_;
    std::vector<ShownMessage> shown_;
};

class RecordingOutputLog final : public core::OutputLog {
public:
    void AppendLine(std::string_view line) override { lines_.emplace_back(line); }
    void ReplaceLastLine(std::string_view line) override;
    void DeleteLastLine() override;
    void Clear() override { lines_.clear(); }
    void ScrollToEnd() override { ++scrolls_; }

    const std::vector<std::string>& lines() const { return lines_; }
    int scrolls() const { return scrolls_; }

private:
    std::vector<std::string> lines_;
    int scrolls_ = 0;
};

class RecordingStatusSink final : public core::StatusSink {
public:
    void SetWorkspaceStatus(std::string_view text) override { workspace_.emplace_back(text); }
    void SetSplashStatus(std::string_view text) override { splash_.emplace_back(text); }

    const std::vector<std::string>& workspace() const { return workspace_; }
    const std::vector<std::string>& splash() const { return splash_; }

private:
    std::vector<std::string> workspace_;
    std::vector<std::string> splash_;
};

// Counts the yields; an optional action runs at each (for example pressing Cancel).
class ScriptedEventPump final : public core::EventPump {
public:
    void ProcessPendingEvents() override;
    void SetAction(std::function<void(int call)> action) { action_ = std::move(action); }
    int calls() const { return calls_; }

private:
    int calls_ = 0;
    std::function<void(int)> action_;
};

}  // namespace torvane::testing
