#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// What a class inherits from its parent: the class flags that pass to subclasses (transient,
// config, safereplace, perobjectconfig) are written only where they are declared, so the rebuilt
// class needs its parent's flags, which may live in another package.
namespace torvane::unrealpkg {

class TUTObjectClassClass;
class TUTPackage;

struct ClassFlagsInfo {
    std::uint32_t classFlags = 0;
    std::string configName;
};

// Finds classes of other packages.
class ClassLookup {
public:
    virtual ~ClassLookup() = default;
    // The flags of packageName.className, or nullopt when the class cannot be found.
    virtual std::optional<ClassFlagsInfo> FindClass(const std::string& packageName,
                                                    const std::string& className) = 0;
};

// Looks for "<package>.u" in each folder in turn; a package is read once and kept.
class PackageFolderLookup final : public ClassLookup {
public:
    explicit PackageFolderLookup(std::vector<std::string> folders);
    ~PackageFolderLookup() override;
    std::optional<ClassFlagsInfo> FindClass(const std::string& packageName,
                                            const std::string& className) override;

private:
    TUTPackage* Package(const std::string& packageName);

    std::vector<std::string> folders_;
    std::map<std::string, std::unique_ptr<TUTPackage>> packages_;  // by lower-case name; null: none
};

// The flags of the class's parent: an export of its own package, or found through lookup (which
// may be null). nullopt for a class without parent and when the parent cannot be found.
std::optional<ClassFlagsInfo> ParentClassFlags(TUTObjectClassClass& object, ClassLookup* lookup);

}  // namespace torvane::unrealpkg
