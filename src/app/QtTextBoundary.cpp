#include "app/QtTextBoundary.h"

#include "encoding/TextBoundary.h"

#include <QPlainTextEdit>
#include <QTextDocument>

namespace drilbank {

QString toWidgetText(std::string_view bytes) {
    return QString::fromStdU16String(unicodeFromRecordBytes(bytes, u"\n"));
}

std::string fromWidgetText(const QString& text) {
    return recordBytesFromUnicode(std::u16string_view(
        reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())));
}

std::string boxText(const QPlainTextEdit& box) {
    // The raw text keeps a no-break space as itself, where the plain text would turn it
    // into a blank.
    return fromWidgetText(box.document()->toRawText());
}

void setBoxText(QPlainTextEdit& box, std::string_view bytes) {
    box.setPlainText(toWidgetText(bytes));
}

} // namespace drilbank
