#include "workspace/default_properties.h"

#include <algorithm>
#include <optional>

#include "core/text.h"
#include "platform/file_ops.h"
#include "workspace/class_tree.h"

namespace torvane::workspace {
namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

// The text before a "//" comment.
std::string_view BeforeComment(std::string_view text) {
    const std::size_t comment = text.find("//");
    return comment == std::string_view::npos ? text : text.substr(0, comment);
}

// Control characters become blanks (a tab separates a type from its name as a space does),
// runs of blanks become one, and blanks around commas go.
std::string Normalise(std::string_view body) {
    std::string out;
    for (char c : body) {
        if (IsBlank(c)) {
            if (!out.empty() && out.back() != ' ' && out.back() != ',') out += ' ';
        } else if (c == ',') {
            while (!out.empty() && out.back() == ' ') out.pop_back();
            out += ',';
        } else {
            out += c;
        }
    }
    return out;
}

void SortLevel(std::vector<DefaultPropertyItem>& items) {
    // Character codes: capital letters before small ones.
    std::stable_sort(items.begin(), items.end(),
                     [](const DefaultPropertyItem& a, const DefaultPropertyItem& b) { return a.caption < b.caption; });
    for (DefaultPropertyItem& item : items) SortLevel(item.children);
}

DefaultPropertyItem* FirstProperty(std::vector<DefaultPropertyItem>& items, std::string_view name) {
    for (DefaultPropertyItem& item : items) {
        if (!item.category && core::EqualsIgnoringCase(item.caption, name)) return &item;
        if (DefaultPropertyItem* found = FirstProperty(item.children, name)) return found;
    }
    return nullptr;
}

}  // namespace

bool IsDeclarationLine(std::string_view line) {
    return line.size() >= 4 && (line[3] == '(' || IsBlank(line[3])) &&
           core::UpperCase(line).find("VAR") != std::string::npos;
}

bool IsDefaultPropertiesLine(std::string_view line) {
    return core::StartsWithIgnoringCase(core::TrimLeft(line), "defaultproperties");
}

std::string TypeDefault(std::string_view declarationLine) {
    static constexpr std::pair<std::string_view, std::string_view> kDefaults[] = {
        {" INT ", "0"},
        {" FLOAT ", "0.0"},
        {" BOOL ", "False"},
        {" VECTOR ", "(X=0,Y=0,Z=0)"},
        {" ROTATOR ", "(Pitch=0,Yaw=0,Roll=0)"},
        {" BYTE ", "0"},
        {" STRING ", "None"},
        {" NAME ", "None"},
    };
    std::string text = core::UpperCase(BeforeComment(declarationLine));
    std::replace_if(text.begin(), text.end(), IsBlank, ' ');
    for (const auto& [type, value] : kDefaults) {
        if (text.find(type) != std::string::npos) return std::string(value);
    }
    return "None";
}

std::vector<std::string> DeclaredNames(std::string_view body) {
    const std::string normalised = Normalise(body);
    const std::size_t semicolon = normalised.find(';');
    if (semicolon == std::string::npos) return {};
    std::string_view text = normalised;
    text = text.substr(0, semicolon);
    std::vector<std::string> names;
    for (;;) {
        text = core::TrimRight(text);
        const std::size_t separator = text.find_last_of(" ,");
        if (separator == std::string_view::npos) break;  // no name (a bare type or nothing)
        if (separator + 1 < text.size()) names.emplace_back(text.substr(separator + 1));
        if (text[separator] != ',') break;
        text = text.substr(0, separator);
    }
    return names;
}

DefaultPropertyItem& DefaultProperties::CategoryItem(const std::string& name) {
    for (DefaultPropertyItem& item : items_) {
        if (item.category && core::EqualsIgnoringCase(item.caption, name)) return item;
    }
    DefaultPropertyItem category;
    category.caption = name;
    category.category = true;
    items_.push_back(std::move(category));
    return items_.back();
}

void DefaultProperties::AddDeclaration(std::string_view line, int lineNumber, const ChainClass& source) {
    const std::size_t var = core::UpperCase(line).find("VAR");
    std::string_view body = core::Trim(BeforeComment(line.substr(var + 3)));
    std::optional<std::string> category;
    const std::size_t open = body.find('(');
    const std::size_t close = body.find(')');
    if (open != std::string_view::npos && close != std::string_view::npos && close > open) {
        category = std::string(core::Trim(body.substr(open + 1, close - open - 1)));
        if (category->empty()) category = source.className;
        body = core::Trim(body.substr(close + 1));
    }
    const std::vector<std::string> names = DeclaredNames(body);
    if (names.empty()) return;
    std::vector<DefaultPropertyItem>& level = category ? CategoryItem(*category).children : items_;
    const std::string value = TypeDefault(line);
    const ClassLine here{source.className, source.package, lineNumber};
    for (const std::string& name : names) {
        DefaultPropertyItem property;
        property.caption = name;
        property.value = value;
        property.declaration = here;
        property.setting = here;
        level.push_back(std::move(property));
    }
}

void DefaultProperties::SetDefault(std::string_view line, int lineNumber, const ChainClass& source) {
    const std::size_t equals = line.find('=');
    DefaultPropertyItem* property = FirstProperty(items_, core::Trim(line.substr(0, equals)));
    if (!property) return;
    property->value = std::string(core::Trim(line.substr(equals + 1)));
    property->setting = {source.className, source.package, lineNumber};
}

// The declarations are the declaration lines before the defaults; the defaults are the lines
// with "=" from the "defaultproperties" line to the end. Variables without a category are only
// kept until the end of the class (a later class's defaults cannot set them), then removed with
// the empty categories.
void DefaultProperties::LoadText(std::string_view text, const ChainClass& source) {
    const std::vector<std::string> lines = core::SplitLines(text);
    std::size_t defaults = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!IsDeclarationLine(lines[i]) && IsDefaultPropertiesLine(lines[i])) {
            defaults = i;
            break;
        }
    }
    for (std::size_t i = 0; i < defaults; ++i) {
        if (IsDeclarationLine(lines[i])) AddDeclaration(lines[i], static_cast<int>(i) + 1, source);
    }
    for (std::size_t i = defaults; i < lines.size(); ++i) {
        if (lines[i].find('=') != std::string::npos) SetDefault(lines[i], static_cast<int>(i) + 1, source);
    }
    std::erase_if(items_, [](const DefaultPropertyItem& item) { return item.children.empty(); });
    SortLevel(items_);
}

void DefaultProperties::LoadFile(const ChainClass& source) {
    LoadText(platform::ReadWholeFile(source.fileName), source);
}

std::vector<DefaultProperties::Row> DefaultProperties::Rows() const {
    std::vector<Row> rows;
    for (const DefaultPropertyItem& item : items_) {
        if (!item.category) {
            rows.push_back({nullptr, &item});
            continue;
        }
        for (const DefaultPropertyItem& property : item.children) rows.push_back({&item, &property});
    }
    return rows;
}

std::vector<ChainClass> ClassChain(const ClassNode& node) {
    std::vector<ChainClass> chain;
    for (const ClassNode* up = &node; up; up = up->parent) {
        chain.push_back({up->entry.fileName, up->entry.className, up->entry.package});
    }
    std::reverse(chain.begin(), chain.end());
    return chain;
}

void LoadClassChain(DefaultProperties& properties, const std::vector<ChainClass>& chain) {
    properties.Clear();
    for (const ChainClass& source : chain) properties.LoadFile(source);
}

std::string FormatDefaultPropertyRow(const DefaultProperties::Row& row) {
    const DefaultPropertyItem& p = *row.property;
    return (row.category ? row.category->caption : std::string()) + "\t" + p.caption + "\t" + p.value + "\t" +
           p.declaration.className + ":" + std::to_string(p.declaration.line) + "\t" + p.setting.className + ":" +
           std::to_string(p.setting.line);
}

}  // namespace torvane::workspace
