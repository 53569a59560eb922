// The window's edge of the program's GBK text: Qt holds UTF-16.
#pragma once

#include <QString>
#include <string>

namespace vardelle::ui {

QString FromGbk(const std::string& text);
std::string ToGbkText(const QString& text);

}  // namespace vardelle::ui
