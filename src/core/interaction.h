#pragma once

#include <string>
#include <string_view>

// How logic talks back to the user. The windows implement these with Qt; tests use scripted
// implementations that answer from a list and record what was shown.
namespace torvane::core {

enum class Answer { Ok, Yes, No, Cancel, All };

// Buttons of a confirmation box.
enum class Buttons { YesNo, YesNoCancel, YesNoCancelAll };

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual void Information(std::string_view text) = 0;
    virtual void Warning(std::string_view text) = 0;
    virtual void Error(std::string_view text) = 0;
    virtual Answer Confirm(std::string_view text, Buttons buttons) = 0;
};

class OutputLog {
public:
    virtual ~OutputLog() = default;
    virtual void AppendLine(std::string_view line) = 0;
    virtual void ReplaceLastLine(std::string_view line) = 0;
    virtual void DeleteLastLine() = 0;
    virtual void Clear() = 0;
    virtual void ScrollToEnd() = 0;
};

class StatusSink {
public:
    virtual ~StatusSink() = default;
    virtual void SetWorkspaceStatus(std::string_view text) = 0;
    virtual void SetSplashStatus(std::string_view text) = 0;
};

// Clears the workspace status line when the step that wrote its progress there ends, however it
// ends, so that no "Compiling..." stays behind a finished compile.
class WorkspaceStatusScope final {
public:
    explicit WorkspaceStatusScope(StatusSink* sink) : sink_(sink) {}
    ~WorkspaceStatusScope() {
        if (sink_) sink_->SetWorkspaceStatus("");
    }
    WorkspaceStatusScope(const WorkspaceStatusScope&) = delete;
    WorkspaceStatusScope& operator=(const WorkspaceStatusScope&) = delete;

private:
    StatusSink* sink_;
};

// "Process pending window messages" at the points where long work yields.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void ProcessPendingEvents() = 0;
};

}  // namespace torvane::core
