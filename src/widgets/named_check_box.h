#pragma once

#include <QCheckBox>

namespace torvane::widgets {

// A check box with its caption and the object name the program and its tests find it by.
inline QCheckBox* NamedCheckBox(QWidget* parent, const char* name, const char* caption) {
    auto* box = new QCheckBox(QString::fromLatin1(caption), parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

}  // namespace torvane::widgets
