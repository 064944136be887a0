#include "app/MainWindow.h"
#include "app/PictureBox.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QTest>

using drilbank::MainWindow;
using drilbank::noIndex;

namespace {

// The window's controls as the layout gives them, kept apart from the program's own table
// so that a slip in either shows up: name | index | kind | caption | left | top | width |
// height | tab index.
const char* const layout[] = {
    "cmd_clear_answer_box||button|clear box|8280|240|855|495|28",
    "cmd_copy_picture||button|copy picture|1200|8160|855|495|27",
    "cmd_next_picture||button|next picture|1200|7560|855|495|25",
    "cmd_pend_exp||button|pend exp|8640|7560|495|375|24",
    "cmd_quit||button|quit program|10200|0|735|495|23",
    "cmd_display_note_file||button|display notes|4440|240|975|495|22",
    "cmd_displayCumulativeText||button|display everything|3600|240|855|495|21",
    "txt_parameter|3|text|1|8205|8160|300|285|20",
    "txt_parameter|2|text|1|8205|7680|300|285|18",
    "txt_parameter|1|text|1|6720|8160|300|285|16",
    "txt_parameter|0|text|1|6720|7680|300|285|14",
    "List1||list||3120|7680|1695|840|12",
    "cmd_timerTrigger||button|Trigger Timer|2400|7560|735|495|11",
    "txt_paragraph_goback||text|1|3120|240|495|495|9",
    "cmd_Make_Paragraph_question||button|Make Paragraph|1200|240|855|495|8",
    "cmd_Make_paragraph||button|Make Paragraph|7320|240|975|495|7",
    "cmd_save_as_notes||button|Save as Notes|6480|240|855|495|6",
    "Picture2||picture||5640|6080|5055|1375|5",
    "Picture1||picture||240|6080|5175|1375|4",
    "cmd_enter_response||button|Enter Response|5640|240|855|495|3",
    "cmdNextQuestion||button|Next Question / Answer|240|0|975|735|2",
    "txt_answer||box| |5640|720|5055|5255|1",
    "txt_question||box||240|720|5175|5255|0",
    "lbl_only_if_prompted||label|click only if prompted|240|7560|855|495|26",
    "lbl_parameter|3|label|Parameter 4|7200|8160|900|195|19",
    "lbl_parameter|2|label|Parameter 3|7200|7680|1005|195|17",
    "lbl_parameter|1|label|Parameter 2|5640|8160|855|195|15",
    "lbl_parameter|0|label|Parameter 1|5640|7680|900|195|13",
    "lbl_paragraph_goback||label|# sentences previous|2160|240|1095|495|10",
};

struct Row {
    QString name;
    int index;
    QString kind;
    QString caption;
    QRect twips;
    int tabIndex;
};

Row parse(const char* line) {
    const QStringList f = QString::fromLatin1(line).split(QLatin1Char('|'));
    return {f[0],
            f[1].isEmpty() ? noIndex : f[1].toInt(),
            f[2],
            f[3],
            QRect(f[4].toInt(), f[5].toInt(), f[6].toInt(), f[7].toInt()),
            f[8].toInt()};
}

QString textOf(QWidget* control) {
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        return button->text();
    }
    if (auto* line = qobject_cast<QLineEdit*>(control)) {
        return line->text();
    }
    if (auto* box = qobject_cast<QPlainTextEdit*>(control)) {
        return box->toPlainText();
    }
    if (auto* label = qobject_cast<QLabel*>(control)) {
        return label->text();
    }
    return QString();
}

bool isKind(QWidget* control, const QString& kind) {
    if (kind == QLatin1String("button")) {
        return qobject_cast<QAbstractButton*>(control) != nullptr;
    }
    if (kind == QLatin1String("text")) {
        return qobject_cast<QLineEdit*>(control) != nullptr;
    }
    if (kind == QLatin1String("box")) {
        return qobject_cast<QPlainTextEdit*>(control) != nullptr;
    }
    if (kind == QLatin1String("label")) {
        return qobject_cast<QLabel*>(control) != nullptr;
    }
    if (kind == QLatin1String("list")) {
        return qobject_cast<QListWidget*>(control) != nullptr;
    }
    return qobject_cast<drilbank::PictureBox*>(control) != nullptr;
}

QWidget* find(const MainWindow& window, const Row& row) {
    return window.control(row.name.toStdString(), row.index);
}

} // namespace

class WindowLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void windowTitleAndClientArea() {
        MainWindow window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Form1"));
        // An icon of its own, drawn from the SVG in the tree: some pixels are not clear.
        const QImage icon = window.windowIcon().pixmap(32, 32).toImage();
        QVERIFY(!icon.isNull());
        QVERIFY(icon.pixelColor(16, 16).alpha() > 0);
        QCOMPARE(window.size(), QSize(725, 573));
        QCOMPARE(window.form().findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).size(),
                 std::size(layout));
    }

    void controlsMatchTheLayout_data() {
        QTest::addColumn<QString>("line");
        for (const char* line : layout) {
            const Row row = parse(line);
            QTest::newRow(qPrintable(row.name + QString::number(row.index)))
                << QString::fromLatin1(line);
        }
    }

    void controlsMatchTheLayout() {
        QFETCH(QString, line);
        const Row row = parse(qPrintable(line));
        MainWindow window;
        QWidget* control = find(window, row);
        QVERIFY(control != nullptr);
        QCOMPARE(control->objectName(), row.name);
        QVERIFY(isKind(control, row.kind));
        QCOMPARE(textOf(control), row.caption);
        const QRect pixels(qRound(row.twips.x() / 15.0), qRound(row.twips.y() / 15.0),
                           qRound(row.twips.width() / 15.0), qRound(row.twips.height() / 15.0));
        QCOMPARE(control->geometry(), pixels);
        // A screen reader names every control a student can reach.
        if (row.kind != QLatin1String("label")) {
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
            QVERIFY(!accessible->text(QAccessible::Name).isEmpty());
        }
    }

    void aScreenReaderCanTellEveryReachableControlApart() {
        MainWindow window;
        QStringList names;
        for (QWidget* control : window.findChildren<QWidget*>()) {
            if (control->focusPolicy() & Qt::TabFocus) {
                names << QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
            }
        }
        QCOMPARE(names.size(), 23); // every control but the labels and the timer
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), names.size());
    }

    void questionAndAnswerBoxesUseArialAndScroll() {
        MainWindow window;
        for (QPlainTextEdit* box : {&window.questionBox(), &window.answerBox()}) {
            const QFont font = box->font();
            QCOMPARE(font.family(), QStringLiteral("Arial"));
            QCOMPARE(font.pointSizeF(), 9.75);
            QCOMPARE(font.weight(), QFont::Normal);
            QVERIFY(!font.italic() && !font.underline() && !font.strikeOut());
            // A metric-compatible face stands in where Arial itself is not installed.
            QVERIFY(QStringList({"Arial", "Liberation Sans"}).contains(QFontInfo(font).family()));
            QCOMPARE(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
            QVERIFY(box->tabChangesFocus());
        }
        for (const char* line : layout) {
            const Row row = parse(line);
            if (row.kind != QLatin1String("box")) {
                QCOMPARE(find(window, row)->font(), window.font());
            }
        }
    }

    void tabMovesFocusInTabIndexOrder() {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QList<Row> reachable;
        for (const char* line : layout) {
            if (const Row row = parse(line); row.kind != QLatin1String("label")) {
                reachable.append(row);
            }
        }
        std::sort(reachable.begin(), reachable.end(),
                  [](const Row& a, const Row& b) { return a.tabIndex < b.tabIndex; });
        QCOMPARE(QApplication::focusWidget(), &window.questionBox());
        for (const Row& row : reachable) {
            QCOMPARE(QApplication::focusWidget(), find(window, row));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(QApplication::focusWidget(), &window.questionBox());
        QCOMPARE(window.questionBox().toPlainText(), QString());
    }

    void controlsKeepTheirPlacesWhenTheWindowIsResized() {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect before = window.answerBox().geometry();
        window.resize(1000, 800);
        QTRY_COMPARE(window.size(), QSize(1000, 800));
        QCOMPARE(window.answerBox().geometry(), before);
    }

    // On a screen too small for the window (a 1280 by 1024 screen at twice the scale has
    // 640 by 512 logical pixels), the window fits the free area and the form scrolls: Tab
    // brings every control into view. Where the window fits, it keeps its designed size.
    void aSmallScreenScrollsSoEveryControlIsReachable() {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.fitInto(QRect(0, 0, 640, 512));
        QVERIFY(window.width() <= 640 && window.height() <= 512);
        QCOMPARE(window.form().size(), QSize(725, 573));
        const QWidget* viewport = window.scroller().viewport();
        for (int step = 0; step < 23; ++step) {
            QWidget* focused = QApplication::focusWidget();
            const QRect shown(focused->mapTo(viewport, QPoint(0, 0)), focused->size());
            QVERIFY2(viewport->rect().intersects(shown), qPrintable(focused->objectName()));
            QTest::keyClick(focused, Qt::Key_Tab);
        }
        window.fitInto(QRect(0, 0, 1280, 1024));
        QCOMPARE(window.size(), QSize(725, 573));
    }

    void pictureAreasAreWhiteAndEmpty() {
        MainWindow window;
        for (auto area : {drilbank::PictureArea::Picture1, drilbank::PictureArea::Picture2}) {
            drilbank::PictureBox& picture = window.picture(area);
            QVERIFY(picture.picture().isNull());
            const QImage shown = picture.grab().toImage();
            QCOMPARE(shown.pixelColor(picture.contentsRect().center()), QColor(Qt::white));
        }
    }

    void timerWaitsDisabledAtFifteenMilliseconds() {
        MainWindow window;
        auto* timer = window.findChild<QTimer*>(QStringLiteral("tmr_pend_exp"));
        QVERIFY(timer != nullptr);
        QVERIFY(!timer->isActive());
        QCOMPARE(timer->interval(), 15);
    }
};

QTEST_MAIN(WindowLayoutTest)
#include "WindowLayoutTest.moc"
