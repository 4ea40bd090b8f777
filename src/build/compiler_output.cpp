#include "build/compiler_output.h"

#include "core/interaction.h"
#include "core/text.h"
#include "platform/game_paths.h"

namespace torvane::build {
namespace {

const std::string kHeader(20, '-');
const std::string kSystemIni = "WARNING: Using system ini file: ";

}  // namespace

CompilerLineKind ClassifyCompilerLine(const std::string& line) {
    if (line.empty()) return CompilerLineKind::Empty;
    if (line.size() > 20 && line.compare(0, 20, kHeader) == 0) return CompilerLineKind::PackageHeader;
    if (line.find(": Error,") != std::string::npos) return CompilerLineKind::Error;
    if (line.find(": ExecWarning,") != std::string::npos) return CompilerLineKind::Warning;
    return CompilerLineKind::Status;
}

void CompilerOutput::Reset(int packageCount) {
    packageName_.clear();
    status_.clear();
    gauge_ = 0;
    gaugeMaximum_ = packageCount;
    errorLines_.clear();
    warningLines_.clear();
    configNamedByTool_.clear();
}

CompilerLineKind CompilerOutput::HandleLine(std::vector<std::string>& outputLines, core::OutputLog& log) {
    if (outputLines.empty()) return CompilerLineKind::Empty;
    const std::string line = outputLines.back();
    if (line.empty()) {
        outputLines.pop_back();
        return CompilerLineKind::Empty;
    }
    log.AppendLine(line);
    log.ScrollToEnd();
    const CompilerLineKind kind = ClassifyCompilerLine(line);
    switch (kind) {
        case CompilerLineKind::PackageHeader:
            packageName_ = line.size() >= 40 ? line.substr(20, line.size() - 40) : std::string();
            status_ = "Preloading...";
            ++gauge_;
            break;
        case CompilerLineKind::Error: errorLines_.push_back(line); break;
        case CompilerLineKind::Warning: warningLines_.push_back(line); break;
        default:
            status_ = line;
            if (gauge_ == 0 && line.compare(0, kSystemIni.size(), kSystemIni) == 0) {
                configNamedByTool_ = std::string(core::TrimRight(std::string_view(line).substr(kSystemIni.size())));
            }
            break;
    }
    return kind;
}

void CompilerOutput::AddFailure(const std::string& line, core::OutputLog& log) {
    log.AppendLine(line);
    log.ScrollToEnd();
    errorLines_.push_back(line);
}

std::string ConfigMismatchLine(const std::string& readByTool, const std::string& prepared) {
    return "Compile failed: the game's tool read " + readByTool + ", not " + prepared +
           ", which Torvane prepared and shows.";
}

void CompilerOutput::Finish() {
    status_.clear();
    gauge_ = gaugeMaximum_;
}

std::string CompilerOutput::FirstErrorMessage() const {
    if (errorLines_.empty()) return {};
    const std::string& line = errorLines_.front();
    const auto at = line.find(": Error,");
    return at == std::string::npos ? line : line.substr(at + 8);
}

ErrorLocation ParseErrorLine(const std::string& line) {
    ErrorLocation location;
    const auto open = line.find('(');
    const auto close = line.find(')');
    location.file = line.substr(0, open);
    if (open == std::string::npos || close == std::string::npos) return location;
    location.valid = true;
    location.lineText = close > open ? line.substr(open + 1, close - open - 1) : std::string();
    location.message = line.substr(close + 1);
    const std::string name = platform::FileNamePart(location.file);
    location.className = name.size() >= 3 ? name.substr(0, name.size() - 3) : std::string();
    return location;
}

}  // namespace torvane::build
