#include <QProcess>
#include <QTest>

// The program started where there is no display to open its window on.
class NoDisplayTest : public QObject {
    Q_OBJECT

private slots:
    void saysSoInOneLineAndStops_data() {
        QTest::addColumn<QString>("display");
        QTest::newRow("none named") << QString();
        QTest::newRow("named but not there") << QStringLiteral(":4711");
    }

    void saysSoInOneLineAndStops() {
        QFETCH(QString, display);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            environment.remove(QString::fromLatin1(variable));
        }
        if (!display.isEmpty()) {
            environment.insert(QStringLiteral("DISPLAY"), display);
        }
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(DRILBANK_EXECUTABLE), {});
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QVERIFY(program.exitCode() != 0);
        const QString said = QString::fromUtf8(program.readAllStandardError());
        QCOMPARE(said.count(QLatin1Char('\n')), 1);
        QVERIFY(said.startsWith(QStringLiteral("drilbank needs a graphical display")));
        QVERIFY(said.contains(QStringLiteral("xvfb-run")));
        QVERIFY(program.readAllStandardOutput().isEmpty());
    }
};

QTEST_GUILESS_MAIN(NoDisplayTest)
#include "NoDisplayTest.moc"
