#include "unrealpkg/body_verifier.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <sstream>

#include "core/text.h"
#include "unrealpkg/body_source_normaliser.h"
#include "unrealpkg/ut_decompiler.h"
#include "unrealpkg/ut_decompiler_context.h"
#include "unrealpkg/ut_object.h"
#include "unrealpkg/ut_packages.h"
#include "unrealpkg/ut_resource_objects.h"
#include "unrealpkg/ut_script_objects.h"

namespace torvane::unrealpkg {
namespace {

constexpr std::uint32_t kFunctionDefined = 0x2;
constexpr std::uint32_t kFunctionNative = 0x400;

struct Tally {
    int compared = 0;
    int equal = 0;
    int failed = 0;
    int Different() const { return compared - equal - failed; }
};

std::string Percent(int part, int whole) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f%%", whole == 0 ? 100.0 : 100.0 * part / whole);
    return text;
}

// The export index of the class that holds export index (its outer chain), or -1.
int ClassOf(const TUTPackage& package, int index) {
    for (int guard = 0; guard < 16 && index >= 0; ++guard) {
        const TUTExportTableObjectData* entry = package.GetExport(index);
        if (!entry) return -1;
        if (entry->ClassIndex == 0) return index;
        index = entry->PackageIndex - 1;
    }
    return -1;
}

class PackageVerifier {
public:
    PackageVerifier(TUTPackage& package, std::ostream& out, const BodyVerifyOptions& options)
        : package_(package), out_(out), options_(options),
          context_(DecompileContext::WithPackagesAtHand(package)) {
        CollectConstants();
    }

    Tally Run() {
        for (const auto& entry : package_.Exports) {
            const std::string className = entry->GetClassName();
            if (className != "Function" && className != "State") continue;
            VerifyBody(*entry);
        }
        return tally_;
    }

private:
    // Constants of this package by class, then those of the packages it imports.
    void CollectConstants() {
        CollectConstants(package_, true);
        for (const auto& import : package_.Imports) {
            if (import->PackageIndex != 0 || !core::EqualsIgnoringCase(import->GetClassName(), "Package")) {
                continue;
            }
            TUTPackage* other = context_->PackageNamed(import->GetObjectName());
            if (other && other != &package_) CollectConstants(*other, false);
        }
    }

    void CollectConstants(TUTPackage& package, bool own) {
        for (const auto& entry : package.Exports) {
            if (!core::EqualsIgnoringCase(entry->GetClassName(), "Const") &&
                !core::EqualsIgnoringCase(entry->GetClassName(), "Enum")) {
                continue;
            }
            TUTObject& object = entry->GetObject();
            ObjectReadScope scope(object, true);
            if (auto* values = dynamic_cast<TUTObjectClassEnum*>(&object)) {
                auto& named = enums_[core::LowerCase(entry->GetObjectName())];
                for (std::size_t i = 0; i < values->Values().size(); ++i) {
                    named.emplace(core::LowerCase(values->Values()[i]), static_cast<int>(i));
                }
            }
            if (auto* constant = dynamic_cast<TUTObjectClassConst*>(&object)) {
                const std::string name = core::LowerCase(entry->GetObjectName());
                if (own) constants_[ClassOf(package, entry->exportIndex)][name] = constant->Value();
                packageConstants_.emplace(name, constant->Value());
            }
        }
    }

    const std::string* ClassSource(int classIndex) {
        const auto known = sources_.find(classIndex);
        if (known != sources_.end()) return known->second.empty() ? nullptr : &known->second;
        std::string& text = sources_[classIndex];
        TUTObject& object = package_.GetExport(classIndex)->GetObject();
        ObjectReadScope scope(object, true);
        const auto* cls = dynamic_cast<TUTObjectClassClass*>(&object);
        const TUTExportTableObjectData* buffer =
            cls && cls->ScriptText() > 0 ? package_.GetExport(cls->ScriptText() - 1) : nullptr;
        if (buffer) {
            TUTObject& textObject = buffer->package.GetExport(buffer->exportIndex)->GetObject();
            ObjectReadScope textScope(textObject, true);
            if (const auto* textBuffer = dynamic_cast<TUTObjectClassTextBuffer*>(&textObject)) {
                text = textBuffer->Text();
            }
        }
        return text.empty() ? nullptr : &text;
    }

    void VerifyBody(TUTExportTableObjectData& entry) {
        const int classIndex = ClassOf(package_, entry.exportIndex);
        if (classIndex < 0) return;
        const std::string* source = ClassSource(classIndex);
        if (!source) return;
        const std::string path = package_.GetObjectPath(-1, entry.exportIndex + 1);
        TUTObject& object = entry.GetObject();
        ObjectReadScope scope(object, true);
        auto* body = dynamic_cast<TUTObjectClassStruct*>(&object);
        if (!body || !object.Parsed() || body->TextPos() == 0 || body->TextPos() >= source->size()) {
            return;
        }
        if (const auto* function = dynamic_cast<TUTObjectClassFunction*>(body)) {
            if (!(function->FunctionFlags() & kFunctionDefined) ||
                (function->FunctionFlags() & kFunctionNative)) {
                return;
            }
        }
        BodyNormaliseOptions normalise;
        normalise.constants = packageConstants_;
        normalise.enums = enums_;
        for (const auto& [name, value] : constants_[classIndex]) normalise.constants[name] = value;

        std::vector<std::string> expected;
        try {
            expected = NormaliseBody(BodySourceAt(*source, body->TextPos()), normalise);
        } catch (const BodySyntaxError& e) {
            Report(path, "source not read: " + std::string(e.what()), "", "");
            return;
        }
        DecompileOptions decompile;
        decompile.context = context_.get();
        const DecompiledBody decompiled = DecompileBody(*body, decompile);
        const bool isState = dynamic_cast<TUTObjectClassState*>(body) != nullptr;
        if (isState && expected.empty() && body->ScriptSize() <= 1) return;  // a state without code
        ++tally_.compared;
        if (!decompiled.error.empty()) {
            ++tally_.failed;
            Report(path, "decompile failed: " + decompiled.error, "", "");
            return;
        }
        std::vector<std::string> actual;
        try {
            actual = NormaliseBody(decompiled.text, normalise);
        } catch (const BodySyntaxError& e) {
            Report(path, "output not read: " + std::string(e.what()), "", "");
            return;
        }
        const std::size_t lines = std::max(expected.size(), actual.size());
        for (std::size_t i = 0; i < lines; ++i) {
            const std::string want = i < expected.size() ? expected[i] : "(end)";
            const std::string got = i < actual.size() ? actual[i] : "(end)";
            if (!CanonicalLinesMatch(want, got)) {
                Report(path, "line " + std::to_string(i + 1), want, got);
                return;
            }
        }
        ++tally_.equal;
    }

    void Report(const std::string& path, const std::string& where, const std::string& source,
                const std::string& decompiled) {
        if (shown_++ >= options_.differencesShown) return;
        out_ << "  " << path << ": " << where << "\n";
        if (!source.empty() || !decompiled.empty()) {
            out_ << "    source:     " << source << "\n";
            out_ << "    decompiled: " << decompiled << "\n";
        }
    }

    TUTPackage& package_;
    std::ostream& out_;
    const BodyVerifyOptions& options_;
    std::unique_ptr<DecompileContext> context_;
    std::map<int, std::map<std::string, std::string>> constants_;  // by class export index
    std::map<std::string, std::string> packageConstants_;
    std::map<std::string, std::map<std::string, int>> enums_;
    std::map<int, std::string> sources_;
    Tally tally_;
    int shown_ = 0;
};

}  // namespace

int VerifyPackages(const std::vector<std::string>& files, const BodyVerifyOptions& options,
                   std::ostream& out, std::ostream& err) {
    Tally total;
    bool readError = false;
    for (const std::string& file : files) {
        try {
            TUTPackage package(file);
            std::ostringstream details;
            const Tally tally = PackageVerifier(package, details, options).Run();
            out << file << ": compared " << tally.compared << ", equal " << tally.equal
                << ", different " << tally.Different() << ", failed " << tally.failed << " ("
                << Percent(tally.equal, tally.compared) << " equal)\n"
                << details.str();
            total.compared += tally.compared;
            total.equal += tally.equal;
            total.failed += tally.failed;
        } catch (const std::exception& e) {
            err << file << ": " << e.what() << "\n";
            readError = true;
        }
    }
    out << "total: compared " << total.compared << ", equal " << total.equal << ", different "
        << total.Different() << ", failed " << total.failed << " ("
        << Percent(total.equal, total.compared) << " equal)\n";
    return readError || total.failed > 0 ? 1 : 0;
}

}  // namespace torvane::unrealpkg
