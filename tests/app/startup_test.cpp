#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>
#include <unistd.h>

#include <optional>

#include "app_harness.h"
#include "frames.h"
#include "logged_board.h"
#include "qt_test_registry.h"
#include "visible_text.h"

namespace qrv {
namespace {

// Notes, with each box, whether the main window was already on screen.
class WindowWatchingReporter : public RecordingReporter {
 public:
  std::vector<bool> window_shown;
  void WarningBox(std::string_view text) override {
    RecordingReporter::WarningBox(text);
    bool shown = false;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      shown = shown || (qobject_cast<QMainWindow*>(w) != nullptr && w->isVisible());
    }
    window_shown.push_back(shown);
  }
};

// The program itself, offscreen, with its boxes printed and its runtime and configuration
// folders in dir.
QProcess* Program(const QTemporaryDir& dir, const QStringList& arguments, QObject* parent) {
  auto* process = new QProcess(parent);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("QRV470KSE_BOXES", "stderr");
  env.insert("XDG_RUNTIME_DIR", dir.path());
  env.insert("XDG_CONFIG_HOME", dir.path());
  process->setProcessEnvironment(env);
  process->start(QStringLiteral(QRV470KSE_BINARY), arguments);
  return process;
}

}  // namespace

class StartupTest : public QObject {
  Q_OBJECT

 private slots:
  void portWarningsComeWithTheWindowThere() {
    QTemporaryDir dir;
    auto config = std::make_unique<DisplayConfig>();
    config->modified = 1;
    config->display_on = 1;
    WindowWatchingReporter reporter;
    ScriptedPrompts prompts;
    StartOptions options;
    options.settings_path = dir.filePath("qrv470kse.ini").toStdString();
    options.port = dir.filePath("missing-tty").toStdString();
    Application app(options, *config, reporter, prompts);
    app.Start();
    QCOMPARE(reporter.shown,
             (std::vector<std::string>{"warning:Miss! File Open", "warning:Miss! Mask Set",
                                       "warning:Miss! Buffer Set", "warning:Miss! Time Out Set",
                                       "warning:Miss! Set Comm State"}));
    QCOMPARE(reporter.window_shown, std::vector<bool>(5, true));
    // Start values everywhere, except that display_on is left as it was.
    QCOMPARE(config->modified, 0);
    QCOMPARE(config->display_on, 1);
    QCOMPARE(app.link().ReaderRunning(), 1);
    // The menus still work.
    app.window().set_dialog_runner([](QDialog&) {});
    app.window().Dispatch(152);
  }

  // No descriptor left for the reader's wake-up pipe: one warning more, and no link.
  void readThreadThatCannotBeMadeIsReported() {
    rlimit limit{};
    getrlimit(RLIMIT_NOFILE, &limit);
    rlimit none = limit;
    none.rlim_cur = static_cast<rlim_t>(dup(2));  // the lowest free descriptor
    close(static_cast<int>(none.rlim_cur));
    setrlimit(RLIMIT_NOFILE, &none);
    std::optional<AppHarness> harness;
    try {
      harness.emplace(false);
    } catch (...) {  // a failure, told once the descriptors are back
    }
    QCOMPARE(setrlimit(RLIMIT_NOFILE, &limit), 0);
    QVERIFY(harness);
    harness->Start();
    QCOMPARE(harness->reporter.shown.back(), std::string("warning:error creating read thread"));
    QCOMPARE(harness->app->link().ReaderRunning(), 0);
  }

  // The device the settings name is opened at start; every frame and answer is logged, the
  // answer before it is dispatched.
  void trafficLogFromTheCommandLine() {
    QTemporaryDir dir;
    auto config = std::make_unique<DisplayConfig>();
    RecordingReporter reporter;
    ScriptedPrompts prompts;
    QString error;
    QCOMPARE(ParseStartOptions({"qrv470kse", "--log", "a.log"}, &error)->log_path,
             std::string("a.log"));
    // A folder as settings file, arguments it does not take: one line, status 2.
    for (const QStringList& args : {QStringList{"--settings", dir.path()}, {"x.dat"}, {"-z"}})
      QVERIFY(!ParseStartOptions(QStringList{"qrv470kse"} + args, &error) && !error.isEmpty());
    // Neither the refusal nor --version needs a display, as on a terminal over ssh.
    QProcess program;
    QProcessEnvironment no_display = QProcessEnvironment::systemEnvironment();
    no_display.remove("DISPLAY");
    no_display.insert("QT_QPA_PLATFORM", "xcb");
    program.setProcessEnvironment(no_display);
    program.start(QRV470KSE_BINARY, {"x.dat"});
    QVERIFY(program.waitForFinished() && program.exitCode() == 2);
    QCOMPARE(("\n" + program.readAllStandardError()).count("\nqrv470kse: "), 1);
    program.start(QRV470KSE_BINARY, {"--version"});
    QVERIFY(program.waitForFinished() && program.exitCode() == 0);
    QVERIFY(program.readAllStandardOutput().startsWith("qrv470kse 1."));
    StartOptions options;
    options.settings_path = dir.filePath("qrv470kse.ini").toStdString();
    LoggedBoard board;  // named by the settings, as a choice in the dialog leaves it
    QVERIFY(WriteSerialSettingText(options.settings_path, "com_device", board.device()));
    options.log_path = dir.filePath("traffic.log").toStdString();
    Application app(options, *config, reporter, prompts);
    app.Start();
    QVERIFY(app.serial().SendFrame(PositionHFrame(*config)));
    QTRY_COMPARE(reporter.shown, std::vector<std::string>{"set-complete"});
    QFile log(dir.filePath("traffic.log"));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const std::string text = log.readAll().toStdString();
    QVERIFY(text.find(" -> " + VisibleText(PositionHFrame(*config)) + "\n") != std::string::npos);
    QVERIFY(text.find(" <- GO<CR><LF>\n") != std::string::npos);
  }

  void secondCopyIsRefused() {
    QTemporaryDir dir;
    QProcess* first = Program(dir, {"--simulate"}, this);
    QVERIFY(first->waitForStarted());
    QTRY_VERIFY(QFile::exists(dir.filePath("QRV470K TCP_X_Mutex")));

    QProcess* second = Program(dir, {"--port", dir.filePath("missing-tty")}, this);
    QVERIFY(second->waitForFinished(20000));
    QCOMPARE(second->exitCode(), 0);
    const QString said = QString::fromUtf8(second->readAllStandardError());
    QVERIFY2(said.contains("box QRV-470KSE: ２重に起動はできません"), qPrintable(said));
    QCOMPARE(first->state(), QProcess::Running);
  }
};

QRV_REGISTER_QT_TEST(StartupTest);

}  // namespace qrv

#include "startup_test.moc"
