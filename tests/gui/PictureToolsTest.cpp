#include "GuiSession.h"

#include "app/PictureBox.h"

#include <QClipboard>
#include <QMimeData>
#include <QTest>

using drilbank::PictureArea;
using drilbank::PictureBox;
using drilbank::testing::GuiSession;

namespace {

// What the area shows inside its border.
QImage inside(PictureBox& picture) {
    return picture.grab()
        .toImage()
        .copy(picture.contentsRect())
        .convertToFormat(QImage::Format_RGB32);
}

// Aliased outlines may fall a pixel either side of the ideal point.
bool drawnNear(const QImage& image, QPointF point) {
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            const QPoint pixel(qFloor(point.x()) + dx, qFloor(point.y()) + dy);
            if (image.rect().contains(pixel) && image.pixelColor(pixel) != Qt::white) {
                return true;
            }
        }
    }
    return false;
}

QPixmap redPicture() {
    QPixmap picture(40, 20);
    picture.fill(Qt::red);
    return picture;
}

} // namespace

class PictureToolsTest : public QObject {
    Q_OBJECT

private slots:
    // An empty picture leaves what the user had on the clipboard, and Picture2 empty.
    void copyingTheEmptyPictureKeepsTheClipboard() {
        GuiSession run;
        QVERIFY(run.startShown());
        run.window().picture(PictureArea::Picture2).setPicture(redPicture());
        QGuiApplication::clipboard()->setText(QStringLiteral("the student's own text"));
        run.click("cmd_copy_picture");
        QVERIFY(run.window().picture(PictureArea::Picture2).picture().isNull());
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("the student's own text"));
        QVERIFY(run.dialogs.messages.isEmpty());
    }

    void copyingPassesThePictureButNotTheCircles() {
        GuiSession run;
        QVERIFY(run.startShown());
        PictureBox& source = run.window().picture(PictureArea::Picture1);
        source.setPicture(redPicture());
        run.random.scripted.assign(1000, 0.9f);
        run.click("cmd_pend_exp");
        QTRY_VERIFY(run.dialogs.beeps > 0);
        run.click("cmd_copy_picture");
        const QImage copied = run.window().picture(PictureArea::Picture2).picture().toImage();
        QCOMPARE(copied.convertToFormat(QImage::Format_RGB32),
                 redPicture().toImage().convertToFormat(QImage::Format_RGB32));
        QVERIFY(QGuiApplication::clipboard()->mimeData()->hasImage());
    }

    // Radius 500 * r along the horizontal axis; the circle stays round, so a small one
    // reaches as far up as across, not the 1000ths of the much shorter height.
    void eachTickBeepsAndDrawsOneRoundCircle() {
        GuiSession run;
        QVERIFY(run.startShown());
        PictureBox& picture = run.window().picture(PictureArea::Picture1);
        run.random.scripted.assign(1000, 0.05f); // every tick draws the same circle
        const int drawsBefore = run.random.draws;
        run.click("cmd_pend_exp");
        QTRY_VERIFY(run.dialogs.beeps >= 1);
        run.window().pendulumTimer().stop();
        QCOMPARE(run.random.draws - drawsBefore, run.dialogs.beeps);

        const QImage shown = inside(picture);
        const QPointF centre(shown.width() / 2.0, shown.height() / 2.0);
        const double radius = 25.0 * shown.width() / 1000.0;
        QVERIFY(drawnNear(shown, centre + QPointF(radius, 0)));
        QVERIFY(drawnNear(shown, centre - QPointF(0, radius)));
        QVERIFY(!drawnNear(shown, centre - QPointF(0, 25.0 * shown.height() / 1000.0)));
        QVERIFY(!drawnNear(shown, centre));
        QCOMPARE(shown.pixelColor(qFloor(centre.x() + radius), qFloor(centre.y())).rgb(),
                 picture.palette().color(QPalette::WindowText).rgb());
    }

    void largeCirclesAreCutOffAtTheBorder() {
        GuiSession run;
        QVERIFY(run.startShown());
        PictureBox& picture = run.window().picture(PictureArea::Picture1);
        const QImage before = picture.grab().toImage();
        picture.drawCircle(500.0f, 500.0f, 499.0f);
        const QImage after = picture.grab().toImage();
        const QRect inner = picture.contentsRect();
        bool drewInside = false;
        for (int y = 0; y < after.height(); ++y) {
            for (int x = 0; x < after.width(); ++x) {
                const bool same = after.pixel(x, y) == before.pixel(x, y);
                QVERIFY(same || inner.contains(x, y));
                drewInside = drewInside || !same;
            }
        }
        QVERIFY(drewInside);
    }

    void pendExpTwiceKeepsOneTimerRunning() {
        GuiSession run;
        QVERIFY(run.startShown());
        run.click("cmd_pend_exp");
        run.click("cmd_pend_exp");
        QTimer& timer = run.window().pendulumTimer();
        QVERIFY(timer.isActive());
        QCOMPARE(timer.interval(), 15);
    }

    void quitEndsTheRunAtOnce() {
        GuiSession run;
        QVERIFY(run.startShown());
        run.click("cmd_pend_exp");
        run.click("cmd_quit");
        QCOMPARE(run.runEndings, 1);
        QVERIFY(!run.window().isVisible());
        QVERIFY(!run.window().pendulumTimer().isActive());
    }
};

QTEST_MAIN(PictureToolsTest)
#include "PictureToolsTest.moc"
