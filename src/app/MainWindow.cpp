#include "app/MainWindow.h"

#include "app/PictureBox.h"
#include "app/WrappingButton.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace drilbank {
namespace {

const char* const indexProperty = "controlIndex";

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont boxFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9.75);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

QPlainTextEdit* createMultiLineBox(const QString& text, QWidget* parent) {
    auto* box = new QPlainTextEdit(parent);
    box->setFont(boxFont());
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setTabChangesFocus(true);
    box->setPlainText(text);
    return box;
}

QLabel* createLabel(const QString& caption, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

bool takesFocus(const QWidget& widget) {
    return (widget.focusPolicy() & Qt::TabFocus) != 0;
}

} // namespace

MainWindow::MainWindow(QWidget* parent) : QWidget(parent), pendulumTimer_(new QTimer(this)) {
    setWindowTitle(QStringLiteral("Form1"));
    // Small enough that every caption fits its control: "Parameter 2" on one line of a
    // 57-pixel label, "Next Question / Answer" on three of a 65-pixel button.
    QFont windowFont(QStringLiteral("Arial"));
    windowFont.setPointSizeF(7.5);
    setFont(windowFont);
    resize(twipsToPixels(clientWidthTwips), twipsToPixels(clientHeightTwips));
    for (const ControlRow& row : controlTable()) {
        createControl(row);
    }
    orderTabs();
    questionBox_->setFocus();
}

void MainWindow::createControl(const ControlRow& row) {
    const QString caption = fromView(row.caption);
    QWidget* widget = nullptr;
    switch (row.kind) {
    case ControlKind::Timer:
        pendulumTimer_->setObjectName(fromView(row.name));
        pendulumTimer_->setInterval(pendulumIntervalMs);
        return;
    case ControlKind::CommandButton:
        widget = new WrappingButton(caption, this);
        break;
    case ControlKind::TextBox:
        widget = new QLineEdit(caption, this);
        break;
    case ControlKind::MultiLineTextBox:
        widget = createMultiLineBox(caption, this);
        (row.name == "txt_question" ? questionBox_ : answerBox_) =
            static_cast<QPlainTextEdit*>(widget);
        break;
    case ControlKind::Label:
        widget = createLabel(caption, this);
        // Labels lie beneath the other controls, as "# sentences previous" does under
        // the box it overlaps.
        widget->lower();
        break;
    case ControlKind::ListBox:
        widget = new QListWidget(this);
        break;
    case ControlKind::PictureArea:
        widget = new PictureBox(this);
        widget->setFocusPolicy(Qt::StrongFocus);
        (row.name == "Picture1" ? picture1_ : picture2_) = static_cast<PictureBox*>(widget);
        break;
    }
    widget->setObjectName(fromView(row.name));
    if (row.index != noIndex) {
        widget->setProperty(indexProperty, row.index);
    }
    widget->setGeometry(twipsToPixels(row.left), twipsToPixels(row.top), twipsToPixels(row.width),
                        twipsToPixels(row.height));
    widget->setAccessibleName(row.accessibleName.empty() ? caption : fromView(row.accessibleName));
}

void MainWindow::orderTabs() {
    std::vector<const ControlRow*> byTabIndex;
    for (const ControlRow& row : controlTable()) {
        if (row.kind != ControlKind::Timer) {
            byTabIndex.push_back(&row);
        }
    }
    std::sort(byTabIndex.begin(), byTabIndex.end(),
              [](const ControlRow* a, const ControlRow* b) { return a->tabIndex < b->tabIndex; });
    QWidget* previous = nullptr;
    for (const ControlRow* row : byTabIndex) {
        QWidget* next = control(row->name, row->index);
        if (!takesFocus(*next)) {
            continue;
        }
        if (previous != nullptr) {
            setTabOrder(previous, next);
        }
        previous = next;
    }
}

QWidget* MainWindow::control(std::string_view name, int index) const {
    const QString wanted = fromView(name);
    for (QWidget* child : findChildren<QWidget*>(wanted, Qt::FindDirectChildrenOnly)) {
        const QVariant member = child->property(indexProperty);
        if (member.isValid() ? member.toInt() == index : index == noIndex) {
            return child;
        }
    }
    return nullptr;
}

QAbstractButton& MainWindow::button(std::string_view name) const {
    auto* found = qobject_cast<QAbstractButton*>(control(name));
    if (found == nullptr) {
        throw std::logic_error("no button named " + std::string(name));
    }
    return *found;
}

PictureBox& MainWindow::picture(PictureArea area) const {
    return area == PictureArea::Picture1 ? *picture1_ : *picture2_;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    emit closeRequested();
    event->accept();
}

} // namespace drilbank
