#pragma once

#include <QString>
#include <functional>

class QWidget;

// A folder browser whose OK button is enabled only for folders the caller accepts.
namespace torvane::widgets {

// Returns the chosen folder, or an empty string when cancelled. acceptable decides per folder.
QString BrowseForFolder(QWidget* parent, const QString& caption, const QString& startFolder,
                        const std::function<bool(const QString&)>& acceptable);

}  // namespace torvane::widgets
