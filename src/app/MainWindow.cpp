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
    for (const ControlSpec& spec : controlTable()) {
        createControl(spec);
    }
    orderTabs();
    questionBox_->setFocus();
}

void MainWindow::createControl(const ControlSpec& spec) {
    const QString caption = fromView(spec.caption);
    QWidget* widget = nullptr;
    switch (spec.kind) {
    case ControlKind::Timer:
        pendulumTimer_->setObjectName(fromView(spec.name));
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
        (spec.name == "txt_question" ? questionBox_ : answerBox_) =
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
        (spec.name == "Picture1" ? picture1_ : picture2_) = static_cast<PictureBox*>(widget);
        break;
    }
    widget->setObjectName(fromView(spec.name));
    if (spec.index != noIndex) {
        widget->setProperty(indexProperty, spec.index);
    }
    widget->setGeometry(twipsToPixels(spec.left), twipsToPixels(spec.top),
                        twipsToPixels(spec.width), twipsToPixels(spec.height));
    widget->setAccessibleName(spec.accessibleName.empty() ? caption
                                                          : fromView(spec.accessibleName));
}

void MainWindow::orderTabs() {
    std::vector<const ControlSpec*> byTabIndex;
    for (const ControlSpec& spec : controlTable()) {
        if (spec.kind != ControlKind::Timer) {
            byTabIndex.push_back(&spec);
        }
    }
    std::sort(byTabIndex.begin(), byTabIndex.end(),
              [](const ControlSpec* a, const ControlSpec* b) { return a->tabIndex < b->tabIndex; });
    QWidget* previous = nullptr;
    for (const ControlSpec* spec : byTabIndex) {
        QWidget* next = control(spec->name, spec->index);
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
