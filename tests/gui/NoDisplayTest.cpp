#include <QProcess>
#include <QTest>

// The program started where there is no display to open its window on.
class NoDisplayTest : public QObject {
    Q_OBJECT

private slots:
    // --help and --version answer on standard output and exit, display or none: usage, the
    // drives folder, where the records go and what to send.
    void helpAndVersionAnswerWithoutAWindow() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.insert(QStringLiteral("DRILBANK_DRIVES"), QStringLiteral("/srv/drives"));
        const QStringList expected[] = {{"Usage: drilbank", "/srv/drives/x",
                                         "/srv/drives/c/drilbank/", "send_MMDDNAME.txt",
                                         "send this file to the instructor"},
                                        {"drilbank 1.0"}};
        const char* options[] = {"--help", "--version"};
        for (int which = 0; which < 2; ++which) {
            QProcess program;
            program.setProcessEnvironment(environment);
            program.start(QStringLiteral(DRILBANK_EXECUTABLE),
                          {QString::fromLatin1(options[which])});
            QVERIFY(program.waitForFinished(10000));
            QCOMPARE(program.exitCode(), 0);
            const QString said = QString::fromUtf8(program.readAllStandardOutput());
            for (const QString& part : expected[which]) {
                QVERIFY2(said.contains(part), qPrintable(said));
            }
            QVERIFY(program.readAllStandardError().isEmpty());
        }
        // A relative drives folder is refused by name, never used.
        environment.insert(QStringLiteral("DRILBANK_DRIVES"), QStringLiteral("drives"));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(DRILBANK_EXECUTABLE), {QStringLiteral("--help")});
        QVERIFY(program.waitForFinished(10000));
        const QString complaint = QString::fromUtf8(program.readAllStandardError());
        QVERIFY2(complaint.contains("DRILBANK_DRIVES must be an absolute path"),
                 qPrintable(complaint));
        QVERIFY(!QString::fromUtf8(program.readAllStandardOutput()).contains("drives/x"));

        // Anything else is an error that names the help, never a window.
        QProcess bogus;
        bogus.setProcessEnvironment(environment);
        bogus.start(QStringLiteral(DRILBANK_EXECUTABLE), {QStringLiteral("--bogus")});
        QVERIFY(bogus.waitForFinished(10000));
        QCOMPARE(bogus.exitCode(), 2);
        const QString refusal = QString::fromUtf8(bogus.readAllStandardError());
        QVERIFY2(refusal.contains("--bogus") && refusal.contains("--help"), qPrintable(refusal));
        QVERIFY(bogus.readAllStandardOutput().isEmpty());
    }

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
