#include "app/MainWindow.h"

#include "app/PictureBox.h"
#include "app/WrappingButton.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace drilbank {
namespace {

const char* const indexProperty = "controlIndex";

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont tableFont(double points) {
    QFont font(QString::fromLatin1(fontFamily));
    font.setPointSizeF(points);
    return font;
}

QFont boxFont() {
    QFont font = tableFont(boxFontPoints);
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

MainWindow::MainWindow(QWidget* parent)
    : QWidget(parent), pendulumTimer_(new QTimer(this)), scroller_(new QScrollArea(this)),
      form_(new QWidget) {
    setWindowTitle(QString::fromLatin1(drilbank::windowTitle));
    setWindowIcon(programIcon());
    // Small enough that every caption fits its control: "Parameter 2" on one line of a
    // 57-pixel label, "Next Question / Answer" on three of a 65-pixel button.
    setFont(tableFont(windowFontPoints));
    const QSize designed(twipsToPixels(clientWidthTwips), twipsToPixels(clientHeightTwips));
    form_->setFixedSize(designed);
    scroller_->setFrameShape(QFrame::NoFrame);
    scroller_->setFocusPolicy(Qt::NoFocus);
    scroller_->setWidget(form_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroller_);
    resize(designed);
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
        widget = new WrappingButton(caption, form_);
        break;
    case ControlKind::TextBox:
        widget = new QLineEdit(caption, form_);
        break;
    case ControlKind::MultiLineTextBox:
        widget = createMultiLineBox(caption, form_);
        (row.name == "txt_question" ? questionBox_ : answerBox_) =
            static_cast<QPlainTextEdit*>(widget);
        break;
    case ControlKind::Label:
        widget = createLabel(caption, form_);
        // Labels lie beneath the other controls, as "# sentences previous" does under
        // the box it overlaps.
        widget->lower();
        break;
    case ControlKind::ListBox:
        widget = new QListWidget(form_);
        break;
    case ControlKind::PictureArea:
        widget = new PictureBox(form_);
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

QIcon MainWindow::programIcon() {
    return QIcon(QStringLiteral(":/drilbank.svg"));
}

QWidget* MainWindow::control(std::string_view name, int index) const {
    const QString wanted = fromView(name);
    for (QWidget* child : form_->findChildren<QWidget*>(wanted, Qt::FindDirectChildrenOnly)) {
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
    event->ignore();
    emit closeRequested();
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!fitted_ && screen() != nullptr) {
        fitted_ = true;
        fitInto(screen()->availableGeometry());
    }
}

void MainWindow::fitInto(const QRect& available) {
    // The title bar and frame take part of the free area; they are not known before the
    // window is first mapped, so the style's title-bar height stands for them.
    const int decoration = style()->pixelMetric(QStyle::PM_TitleBarHeight) + 2;
    const QSize room(available.width() - 2, available.height() - decoration);
    const QSize designed = form_->size();
    if (designed.width() <= room.width() && designed.height() <= room.height()) {
        resize(designed);
        return;
    }
    resize(designed.boundedTo(room));
    if (isVisible()) {
        move(available.topLeft());
    }
}

} // namespace drilbank
