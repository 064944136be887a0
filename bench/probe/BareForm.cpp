#include "probe/BareForm.h"

#include "window/ControlTable.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

namespace drilbank::bench {
namespace {

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QWidget* stockControl(const ControlRow& row, QWidget* form) {
    const QString caption = fromView(row.caption);
    switch (row.kind) {
    case ControlKind::CommandButton:
        return new QPushButton(caption, form);
    case ControlKind::TextBox:
        return new QLineEdit(caption, form);
    case ControlKind::MultiLineTextBox: {
        auto* box = new QPlainTextEdit(caption, form);
        QFont font(QString::fromLatin1(fontFamily));
        font.setPointSizeF(boxFontPoints);
        box->setFont(font);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        return box;
    }
    case ControlKind::Label: {
        auto* label = new QLabel(caption, form);
        label->setWordWrap(true);
        return label;
    }
    case ControlKind::ListBox:
        return new QListWidget(form);
    case ControlKind::PictureArea: {
        auto* area = new QWidget(form);
        area->setAutoFillBackground(true);
        area->setPalette(QPalette(Qt::white));
        return area;
    }
    case ControlKind::Timer:
        break;
    }
    return nullptr;
}

} // namespace

void buildBareForm(QWidget& window) {
    QFont font(QString::fromLatin1(fontFamily));
    font.setPointSizeF(windowFontPoints);
    window.setFont(font);
    auto* form = new QWidget;
    form->setFixedSize(twipsToPixels(clientWidthTwips), twipsToPixels(clientHeightTwips));
    auto* scroller = new QScrollArea(&window);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidget(form);
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroller);
    window.resize(form->size());
    for (const ControlRow& row : controlTable()) {
        if (row.kind == ControlKind::Timer) {
            new QTimer(&window);
            continue;
        }
        stockControl(row, form)->setGeometry(twipsToPixels(row.left), twipsToPixels(row.top),
                                             twipsToPixels(row.width), twipsToPixels(row.height));
    }
}

} // namespace drilbank::bench
