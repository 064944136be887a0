#include "GuiSession.h"

#include "app/QtTextBoundary.h"

#include <QClipboard>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextDocument>

using drilbank::boxText;
using drilbank::setBoxText;
using drilbank::testing::typeText;

Q_DECLARE_METATYPE(std::string)

namespace {

// What the box holds, no-break spaces included, one "\n" between paragraphs.
QString shownIn(const QPlainTextEdit& box) {
    return box.document()->toRawText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

} // namespace

class TextBoundaryTest : public QObject {
    Q_OBJECT

private slots:
    // What the box shows and what the program's logic holds, both ways round.
    void roundTrips_data() {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<std::string>("bytes");
        QTest::newRow("plain") << QStringLiteral("Ann Lee") << std::string("Ann Lee");
        QTest::newRow("code page letters") << QString::fromUtf8("caf\u00e9 \u20ac5")
                                           << std::string("caf\xE9 \x80"
                                                          "5");
        QTest::newRow("Greek letter") << QString::fromUtf8("\u0394t") << std::string("&#916;t");
        QTest::newRow("emoji") << QString::fromUtf8("\U0001F600") << std::string("&#128512;");
        QTest::newRow("undefined byte") << QString(QChar(0x81)) << std::string("\x81");
        QTest::newRow("no-break space") << QString(QChar(0xA0)) << std::string("\xA0");
        QTest::newRow("line breaks") << QStringLiteral("a\n\nb\n") << std::string("a\r\n\r\nb\r\n");
        QTest::newRow("a reference the code page could hold stays literal")
            << QStringLiteral("&#65;") << std::string("&#65;");
    }

    void roundTrips() {
        QFETCH(QString, shown);
        QFETCH(std::string, bytes);
        QPlainTextEdit box;
        setBoxText(box, bytes);
        QCOMPARE(shownIn(box), shown);
        QCOMPARE(boxText(box), bytes);
        box.setPlainText(shown);
        QCOMPARE(boxText(box), bytes);
    }

    void typedAndPastedLineBreaksBecomeCrLf() {
        QPlainTextEdit box;
        box.show();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        typeText(box, QStringLiteral("one\ntwo"));
        QTest::keyClick(&box, Qt::Key_Return, Qt::ShiftModifier);
        QGuiApplication::clipboard()->setText(QStringLiteral("three\r\nfour\rfive\n"));
        QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(boxText(box), std::string("one\r\ntwo\r\nthree\r\nfour\r\nfive\r\n"));
    }
};

QTEST_MAIN(TextBoundaryTest)
#include "TextBoundaryTest.moc"
