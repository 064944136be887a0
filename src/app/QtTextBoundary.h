#pragma once

#include <QString>

#include <string>
#include <string_view>

class QPlainTextEdit;

namespace drilbank {

// Where text crosses between the widgets (Unicode, "\n" or paragraph separators between
// lines) and the program's logic (Windows-1252 bytes, CR LF between lines). Characters the
// code page cannot hold travel as decimal character references and are shown as themselves.
QString toWidgetText(std::string_view bytes);
std::string fromWidgetText(const QString& text);

// A multi-line box's text, read and replaced whole.
std::string boxText(const QPlainTextEdit& box);
void setBoxText(QPlainTextEdit& box, std::string_view bytes);

} // namespace drilbank
