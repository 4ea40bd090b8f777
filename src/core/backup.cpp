#include "core/backup.h"

#include "platform/file_ops.h"

namespace torvane::core {

std::string BackupName(std::string_view path) {
    const auto slash = path.find_last_of("\\/");
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    const auto dot = path.find_last_of('.');
    if (dot == std::string_view::npos || dot <= nameStart) return std::string(path) + "~";
    std::string result(path);
    result.insert(dot + 1, "~");
    return result;
}

bool BackupFile(std::string_view path) {
    if (!platform::FileExists(path)) return false;
    return platform::CopyFileOverwrite(path, BackupName(path));
}

}  // namespace torvane::core
