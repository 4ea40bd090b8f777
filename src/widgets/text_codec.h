#pragma once

#include <QString>
#include <string>
#include <string_view>

// The one converter between the program's 8-bit (Windows-1252) text and Qt strings.
namespace torvane::widgets {

QString ToQString(std::string_view cp1252);
std::string FromQString(const QString& text);

}  // namespace torvane::widgets
