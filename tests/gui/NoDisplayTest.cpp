#include <QProcess>
#include <QTest>

// The program started where there is no display at all.
class NoDisplayTest : public QObject {
    Q_OBJECT

private slots:
    void saysSoInOneLineAndStops() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            environment.remove(QString::fromLatin1(variable));
        }
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(DRILBANK_EXECUTABLE), {});
        QVERIFY(program.waitForFinished(10000));
        QVERIFY(program.exitStatus() == QProcess::NormalExit);
        QVERIFY(program.exitCode() != 0);
        const QString said = QString::fromUtf8(program.readAllStandardError());
        QCOMPARE(said.count(QLatin1Char('\n')), 1);
        QVERIFY(said.contains(QStringLiteral("needs a graphical display")));
        QVERIFY(said.contains(QStringLiteral("xvfb-run")));
        QVERIFY(program.readAllStandardOutput().isEmpty());
    }
};

QTEST_GUILESS_MAIN(NoDisplayTest)
#include "NoDisplayTest.moc"
