// The built programs as a user starts them: quorvane without a display to open its window
// on, and the screenshot tool that draws the README's picture.
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class ProgramTest : public QObject {
  Q_OBJECT

  // The test's environment without anything that names a display or a platform.
  static QProcessEnvironment withoutDisplay() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE",
                             "QT_QPA_PLATFORMTHEME"}) {
      environment.remove(QString::fromLatin1(name));
    }
    return environment;
  }

 private slots:
  void withoutADisplayOneLineAndFailure_data() {
    QTest::addColumn<QString>("variable");
    QTest::addColumn<QString>("value");
    QTest::newRow("nothing names a display") << QString() << QString();
    QTest::newRow("a display that is not there") << "DISPLAY"
                                                 << ":217";
    QTest::newRow("a platform that does not exist") << "QT_QPA_PLATFORM"
                                                    << "nonesuch";
  }
  void withoutADisplayOneLineAndFailure() {
    QFETCH(QString, variable);
    QFETCH(QString, value);
    QProcessEnvironment environment = withoutDisplay();
    if (!variable.isEmpty())
      environment.insert(variable, value);
    QProcess program;
    program.setProcessEnvironment(environment);

    program.start(QStringLiteral(QUORVANE_WINDOW_PROGRAM), {});
    QVERIFY(program.waitForFinished(30'000));

    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 1);
    QCOMPARE(program.readAllStandardError(),
             QByteArray("quorvane: cannot open the window: no display available\n"));
    QCOMPARE(program.readAllStandardOutput(), QByteArray());
  }

  void screenshotToolDrawsTheWindow() {
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    const QString path = directory.filePath(QStringLiteral("window.png"));
    QProcess tool;
    tool.setProcessEnvironment(withoutDisplay());

    tool.start(QStringLiteral(QUORVANE_SCREENSHOT_TOOL), {path});
    QVERIFY(tool.waitForFinished(30'000));
    QCOMPARE(tool.exitCode(), 0);

    const QImage image(path);
    QVERIFY(!image.isNull());
    // The client area: the outer 380 x 308 less whatever frame the platform reports.
    QVERIFY(image.width() <= 380 && image.width() >= 360);
    QVERIFY(image.height() <= 308 && image.height() >= 280);
    // Something is drawn on the button-face background: the caption of 标签2, say.
    const QRgb background = image.pixel(2, 2);
    bool drawn = false;
    for (int y = 88; y < 112 && !drawn; ++y) {
      for (int x = 16; x < 88 && !drawn; ++x)
        drawn = image.pixel(x, y) != background;
    }
    QVERIFY(drawn);
  }
};

QTEST_GUILESS_MAIN(ProgramTest)
#include "program_test.moc"
