#include "app/QtTextBoundary.h"

#include "encoding/Cp1252.h"

#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextDocument>

namespace drilbank {
namespace {

// Every way a widget or a pasted text may break a line: CR LF, a lone CR or LF, and the
// paragraph and line separators a text document keeps internally.
const QRegularExpression& lineBreak() {
    static const QRegularExpression pattern(QStringLiteral("\r\n|[\r\n\u2028\u2029]"));
    return pattern;
}

} // namespace

QString toWidgetText(std::string_view bytes) {
    QString text = QString::fromStdU16String(cp1252ToUnicode(bytes, true));
    text.replace(lineBreak(), QStringLiteral("\n"));
    return text;
}

std::string fromWidgetText(const QString& text) {
    QString crLf = text;
    crLf.replace(lineBreak(), QStringLiteral("\r\n"));
    return cp1252FromUnicode(std::u16string_view(reinterpret_cast<const char16_t*>(crLf.utf16()),
                                                 static_cast<std::size_t>(crLf.size())));
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
