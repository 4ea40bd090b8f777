#pragma once

#include <memory>
#include <string>
#include <string_view>

// Which reader class serves an export, by the export's class name.
namespace torvane::unrealpkg {

class TUTObject;
class TUTPackage;

using ReaderFactory = std::unique_ptr<TUTObject> (*)(TUTPackage& package, int exportIndex);

// Registering a name already present replaces its class; otherwise the entry is appended.
void RegisterReaderClass(std::string_view name, ReaderFactory factory);
// The class for an export class name (without regard to case); TUTObject when unknown.
ReaderFactory FindReaderClass(std::string_view name);
// Registers the program's reader classes (done once before the first lookup as well).
void RegisterReaderClasses();

std::unique_ptr<TUTObject> CreateReaderObject(std::string_view className, TUTPackage& package,
                                              int exportIndex);

}  // namespace torvane::unrealpkg
