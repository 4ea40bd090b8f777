#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "unrealpkg/export_progress.h"

// The export progress window for tests: records what the export showed.
namespace torvane::testing {

class RecordingExportProgress final : public unrealpkg::ExportProgress {
public:
    void Start() override {
        calls.push_back("start");
        shown = true;
    }
    void ShowPackage(std::string_view name) override { calls.push_back("package " + std::string(name)); }
    bool IsShown() const override { return shown; }
    void ShowStatus(std::string_view text) override { statuses.emplace_back(text); }
    void ShowMemory(std::string_view text) override { memory.emplace_back(text); }
    void Finish(int lingerMs) override {
        calls.push_back("finish " + std::to_string(lingerMs));
        shown = false;
    }

    bool shown = false;
    std::vector<std::string> calls;     // "start", "package <name>", "finish <ms>"
    std::vector<std::string> statuses;  // the steps
    std::vector<std::string> memory;    // the memory figures
};

}  // namespace torvane::testing
