#include "workspace/package_list_command.h"

#include "core/stream_interaction.h"
#include "core/text.h"
#include "platform/game_install.h"
#include "workspace/class_browser.h"

namespace torvane::workspace {
namespace {

using Action = PackagesCommand::Action;

constexpr const char* kFlagNames[kPackageFlagCount] = {"AllowDownload", "ClientOptional", "ServerSideOnly",
                                                       "BrokenLinks", "Unsecure"};

// The bit of a flag named as the dialog's boxes and the tool's options name them (any case); -1
// when there is none.
int FlagBit(const std::string& name) {
    for (int bit = 0; bit < kPackageFlagCount; ++bit) {
        if (core::EqualsIgnoringCase(name, kFlagNames[bit])) return bit;
    }
    return -1;
}

// The tool's lines on the terminal. The window's log drops an empty last line each time it
// scrolls to its end, so an empty line of the tool never shows there; here it is not printed.
class ToolLinesLog final : public core::OutputLog {
public:
    explicit ToolLinesLog(std::ostream& out) : out_(out) {}
    void AppendLine(std::string_view line) override {
        if (!line.empty()) out_ << line << "\n";
    }
    void ReplaceLastLine(std::string_view line) override { AppendLine(line); }
    void DeleteLastLine() override {}
    void Clear() override {}
    void ScrollToEnd() override { out_.flush(); }

private:
    std::ostream& out_;
};

int Flags(const PackagesCommand& command, const platform::GameInstall& install, std::ostream& out,
          std::ostream& err) {
    const std::string& package = command.names.front();
    std::uint32_t flags = ReadPackageFlags(install, package);
    if (command.setFlags.empty() && command.clearFlags.empty()) {
        out << PackageFlagOptions(flags) << "\n";
        return 0;
    }
    for (const auto& [names, set] : {std::pair{&command.setFlags, true}, std::pair{&command.clearFlags, false}}) {
        for (const std::string& name : *names) {
            const int bit = FlagBit(name);
            if (bit < 0) {
                err << "torvane-cli: no package flag " << name
                    << " (AllowDownload, ClientOptional, ServerSideOnly, BrokenLinks, Unsecure)\n";
                return 1;
            }
            flags = set ? flags | (1u << bit) : flags & ~(1u << bit);
        }
    }
    ToolLinesLog log(out);
    core::StreamPrompter done(out, core::Answer::No);
    SetPackageFlags(install, package, flags, log, done);
    return 0;
}

}  // namespace

int RunPackagesCommand(const PackagesCommand& command, std::ostream& out, std::ostream& err) {
    core::StreamPrompter prompter(err, command.yes ? core::Answer::Yes : core::Answer::No);
    ClassBrowserContext browserContext;
    browserContext.install = platform::GameInstall::Detect(command.gameRoot);
    browserContext.prompter = &prompter;
    if (command.action == Action::Flags) return Flags(command, browserContext.install, out, err);

    ClassBrowser browser(browserContext);
    if (!browser.LoadEditPackages()) return 1;
    PackageOperationsContext context;
    context.browser = &browser;
    context.prompter = &prompter;
    const auto notListed = [&](const std::string& name) {
        if (browser.IndexOfEditPackage(name) >= 0) return false;
        err << "torvane-cli: " << name << " is not in the EditPackages list\n";
        return true;
    };

    switch (command.action) {
        case Action::List:
            for (const EditPackageEntry& entry : browser.editPackages()) {
                out << entry.name << "\t" << entry.lastModified << "\n";
            }
            return 0;
        case Action::Importable:
            for (const std::string& name : ImportablePackages(browser)) out << name << "\n";
            return 0;
        case Action::Install: {
            const std::size_t before = browser.editPackages().size();
            InstallPackages(browser, command.names);
            for (std::size_t i = before; i < browser.editPackages().size(); ++i) {
                out << "EditPackages=" << browser.editPackages()[i].name << "\n";
            }
            return 0;
        }
        case Action::Remove: {
            const std::string& name = command.names.front();
            if (notListed(name)) return 1;
            // The refusal for packages others build on needs the classes of every package.
            if (!browser.RebuildClassTrees()) return 1;
            return RemovePackage(context, name) ? 0 : 1;
        }
        case Action::Move: {
            const std::string& name = command.names.front();
            if (notListed(name) || notListed(command.before)) return 1;
            const auto dragged = static_cast<std::size_t>(browser.IndexOfEditPackage(name));
            const auto target = static_cast<std::size_t>(browser.IndexOfEditPackage(command.before));
            return MoveEditPackage(context, dragged, target) ? 0 : 1;
        }
        case Action::New: {
            NewPackageRequest request = command.newPackage;
            request.name = command.names.front();
            return CreatePackage(context, request) ? 0 : 1;
        }
        case Action::Flags: break;
    }
    return 0;
}

}  // namespace torvane::workspace
