#pragma once

#include <functional>

#include "build/compile_pipeline.h"

namespace torvane::build {

// The compile progress without a window: the tool runs at once; Cancel is asked of a function.
class HeadlessCompileMonitor final : public CompileMonitor {
public:
    explicit HeadlessCompileMonitor(std::function<bool()> cancel = {}) : cancel_(std::move(cancel)) {}
    void Prepare(int, bool) override { finished_ = false; }
    void Show(const std::function<void()>& runTool) override { runTool(); }
    void LineHandled(const CompilerOutput&) override {}
    void ToolFinished(const CompilerOutput&, bool) override { finished_ = true; }
    bool CancelRequested() override { return cancel_ && cancel_(); }
    bool finished() const { return finished_; }

private:
    std::function<bool()> cancel_;
    bool finished_ = false;
};

}  // namespace torvane::build
