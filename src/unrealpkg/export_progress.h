#pragma once

#include <string_view>

// The export progress window as the export and the offers to export see it: the package being
// exported, the current step and the memory figures.
namespace torvane::unrealpkg {

class ExportProgress {
public:
    virtual ~ExportProgress() = default;
    // Captioned "Exporting", with an empty package field, shown (not modal).
    virtual void Start() = 0;
    virtual void ShowPackage(std::string_view name) = 0;
    virtual bool IsShown() const = 0;
    virtual void ShowStatus(std::string_view text) = 0;  // the current step
    virtual void ShowMemory(std::string_view text) = 0;  // the memory figures
    // Hidden after lingerMs milliseconds (0: at once).
    virtual void Finish(int lingerMs = 0) = 0;
};

}  // namespace torvane::unrealpkg
