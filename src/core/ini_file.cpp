#include "core/ini_file.h"

#include "core/text.h"
#include "platform/file_ops.h"

namespace torvane::core {
namespace {

constexpr std::size_t npos = std::string::npos;

// The key of a "key=value" line, or nullopt (also for a comment line).
std::optional<std::string_view> KeyName(std::string_view line) {
    if (IsIniCommentLine(line)) return std::nullopt;
    const auto equals = line.find('=');
    if (equals == npos) return std::nullopt;
    return Trim(line.substr(0, equals));
}

std::string SingleLine(std::string_view value) {
    std::string result(value);
    for (char& c : result) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return result;
}

}  // namespace

std::optional<std::string_view> IniSectionName(std::string_view line) {
    const std::string_view trimmed = TrimLeft(line);
    if (trimmed.empty() || trimmed[0] != '[') return std::nullopt;
    const auto close = trimmed.find(']');
    const std::string_view inside =
        close == npos ? trimmed.substr(1) : trimmed.substr(1, close - 1);
    return Trim(inside);
}

bool IsIniCommentLine(std::string_view line) {
    const std::string_view text = TrimLeft(line);
    return !text.empty() && (text[0] == ';' || text[0] == '!');
}

IniDocument IniDocument::FromBytes(std::string_view bytes) {
    IniDocument doc;
    doc.lines_ = SplitTextLines(bytes);
    return doc;
}

IniDocument IniDocument::Load(std::string_view path) {
    if (!platform::FileExists(path)) return {};
    return FromBytes(platform::ReadWholeFile(path));
}

std::size_t IniDocument::FindSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const auto name = IniSectionName(lines_[i].text);
        if (name && EqualsIgnoringCase(*name, Trim(section))) return i;
    }
    return npos;
}

std::size_t IniDocument::SectionEnd(std::size_t header) const {
    std::size_t i = header + 1;
    while (i < lines_.size() && !IniSectionName(lines_[i].text)) ++i;
    return i;
}

std::size_t IniDocument::FindKey(std::size_t header, std::string_view key) const {
    const std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        const auto name = KeyName(lines_[i].text);
        if (name && EqualsIgnoringCase(*name, Trim(key))) return i;
    }
    return npos;
}

std::optional<std::string> IniDocument::Value(std::string_view section,
                                              std::string_view key) const {
    const std::size_t header = FindSection(section);
    if (header == npos) return std::nullopt;
    const std::size_t line = FindKey(header, key);
    if (line == npos) return std::nullopt;
    const std::string& text = lines_[line].text;
    return std::string(Trim(std::string_view(text).substr(text.find('=') + 1)));
}

bool IniDocument::HasSection(std::string_view section) const {
    return FindSection(section) != npos;
}

std::vector<std::string> IniDocument::Keys(std::string_view section) const {
    std::vector<std::string> keys;
    const std::size_t header = FindSection(section);
    if (header == npos) return keys;
    const std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        if (const auto name = KeyName(lines_[i].text); name && !name->empty()) {
            keys.emplace_back(*name);
        }
    }
    return keys;
}

std::vector<std::string> IniDocument::Sections() const {
    std::vector<std::string> sections;
    for (const auto& line : lines_) {
        if (const auto name = IniSectionName(line.text)) sections.emplace_back(*name);
    }
    return sections;
}

void IniDocument::EnsureLastLineEnded() {
    if (!lines_.empty() && lines_.back().ending.empty()) lines_.back().ending = "\r\n";
}

void IniDocument::SetValue(std::string_view section, std::string_view key,
                           std::string_view value) {
    const std::string newLine = std::string(Trim(key)) + "=" + SingleLine(value);
    const std::size_t header = FindSection(section);
    if (header == npos) {
        EnsureLastLineEnded();
        lines_.push_back({"[" + std::string(Trim(section)) + "]", "\r\n"});
        lines_.push_back({newLine, "\r\n"});
        return;
    }
    if (const std::size_t line = FindKey(header, key); line != npos) {
        lines_[line].text = newLine;
        return;
    }
    // After the last non-blank line of the section.
    std::size_t insertAt = SectionEnd(header);
    while (insertAt > header + 1 && Trim(lines_[insertAt - 1].text).empty()) --insertAt;
    if (lines_[insertAt - 1].ending.empty()) lines_[insertAt - 1].ending = "\r\n";
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), {newLine, "\r\n"});
}

void IniDocument::RemoveKey(std::string_view section, std::string_view key) {
    const std::size_t header = FindSection(section);
    if (header == npos) return;
    if (const std::size_t line = FindKey(header, key); line != npos) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(line));
    }
}

void IniDocument::RemoveSection(std::string_view section) {
    const std::size_t header = FindSection(section);
    if (header == npos) return;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(header),
                 lines_.begin() + static_cast<std::ptrdiff_t>(SectionEnd(header)));
}

std::string IniDocument::ToBytes() const { return JoinTextLines(lines_); }

void IniDocument::Save(std::string_view path) const { platform::WriteFileAtomic(path, ToBytes()); }

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, std::string_view file) {
    std::string value;
    try {
        value = IniDocument::Load(file).Value(section, key).value_or(std::string(defaultValue));
    } catch (const platform::FileError&) {
        value = std::string(defaultValue);  // an unreadable file reads as the defaults
    }
    if (value.size() > kMaxProfileValue) value.resize(kMaxProfileValue);
    return value;
}

void WritePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, std::string_view file) {
    IniDocument doc = IniDocument::Load(file);
    const std::string before = doc.ToBytes();
    doc.SetValue(section, key, value);
    if (doc.ToBytes() != before || !platform::FileExists(file)) doc.Save(file);
}

void DeletePrivateProfileKey(std::string_view section, std::string_view key,
                             std::string_view file) {
    if (!platform::FileExists(file)) return;
    IniDocument doc = IniDocument::Load(file);
    const std::string before = doc.ToBytes();
    doc.RemoveKey(section, key);
    if (doc.ToBytes() != before) doc.Save(file);
}

void DeletePrivateProfileSection(std::string_view section, std::string_view file) {
    if (!platform::FileExists(file)) return;
    IniDocument doc = IniDocument::Load(file);
    const std::string before = doc.ToBytes();
    doc.RemoveSection(section);
    if (doc.ToBytes() != before) doc.Save(file);
}

}  // namespace torvane::core
