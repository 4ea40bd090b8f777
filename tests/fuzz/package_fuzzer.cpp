// Opens a package made of the input bytes, then reads, formats and decompiles every export.
// Run: build-fuzz/bin/package_fuzzer corpus/ ../shared/fixtures/compiled/System
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <string>

#include "unrealpkg/ut_decompiler.h"
#include "unrealpkg/ut_decompiler_context.h"
#include "unrealpkg/ut_object.h"
#include "unrealpkg/ut_packages.h"
#include "unrealpkg/ut_script_objects.h"

namespace {

namespace unrealpkg = torvane::unrealpkg;

// The input as a file that never touches the disk.
class MemoryFile {
public:
    MemoryFile(const std::uint8_t* data, std::size_t size) {
        fd_ = ::memfd_create("package", MFD_CLOEXEC);
        if (fd_ >= 0 && ::write(fd_, data, size) == static_cast<ssize_t>(size)) {
            path_ = "/proc/self/fd/" + std::to_string(fd_);
        }
    }
    ~MemoryFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    const std::string& path() const { return path_; }

private:
    int fd_ = -1;
    std::string path_;
};

// Bodies are decompiled as the export prints them (structured, loops rebuilt) and flat, with one
// context per package as the export keeps it.
void ExerciseObject(unrealpkg::TUTObject& object, unrealpkg::DecompileContext& context) {
    unrealpkg::ObjectReadScope scope(object, true);
    const unrealpkg::TUTPropertyList& properties = object.Properties();
    for (int i = 0; i < properties.Count(); ++i) {
        unrealpkg::FormatValue(*properties.Get(i));
        unrealpkg::FormatValue(*properties.Get(i), 0);
    }
    if (auto* body = dynamic_cast<unrealpkg::TUTObjectClassStruct*>(&object);
        body && object.Parsed()) {
        unrealpkg::DecompileOptions options;
        options.context = &context;
        unrealpkg::DecompileBody(*body, options);
        options.structured = false;
        unrealpkg::DecompileBody(*body, options);
    }
    object.GetFullPath();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemoryFile file(data, size);
    if (file.path().empty()) return 0;
    try {
        unrealpkg::TUTPackage package(file.path());
        unrealpkg::DecompileContext context(package);
        for (const auto& entry : package.Exports) {
            try {
                ExerciseObject(entry->GetObject(), context);
            } catch (const std::exception&) {
            }
        }
        package.ReleaseObjects();
    } catch (const std::exception&) {
    }
    return 0;
}
