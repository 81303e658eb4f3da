// qrv470kse: the QRV-470K configuration utility.

#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <optional>
#include <string_view>

#include "app_icon.h"
#include "application.h"
#include "instance_guard.h"
#include "message_box_reporter.h"
#include "printing_reporter.h"
#include "qrv_version.h"
#include "qt_prompts.h"
#include "qt_translations.h"
#include "start_options.h"
#include "startup_trace.h"
#include "window_map_guard.h"

namespace {

constexpr char kRefusal[] = "２重に起動はできません";

// QRV470KSE_BOXES=stderr prints every box instead of showing it, for unattended runs.
bool BoxesToStderr() {
  return qEnvironmentVariable("QRV470KSE_BOXES") == QLatin1String("stderr");
}

void RefuseSecondCopy() {
  if (BoxesToStderr()) {
    qrv::PrintingReporter::Print("QRV-470KSE", kRefusal);
    return;
  }
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("QRV-470KSE"), QString::fromUtf8(kRefusal),
                  QMessageBox::Ok, nullptr);
  box.exec();
}

bool AsksOnlyForText(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "-h" || arg == "--help" || arg == "--help-all" || arg == "-v" || arg == "--version")
      return true;
  }
  return false;
}

std::optional<qrv::StartOptions> ParseArguments() {
  QCoreApplication::setApplicationName(QStringLiteral("qrv470kse"));
  QCoreApplication::setApplicationVersion(QStringLiteral(QRV_VERSION));
  QString error;
  std::optional<qrv::StartOptions> parsed =
      qrv::ParseStartOptions(QCoreApplication::arguments(), &error);
  if (!parsed) std::fprintf(stderr, "qrv470kse: %s\n", qPrintable(error));
  return parsed;
}

}  // namespace

int main(int argc, char** argv) {
  // The help and the version are printed without a display, as from a terminal over ssh.
  if (AsksOnlyForText(argc, argv)) {
    QCoreApplication text_only(argc, argv);
    return ParseArguments() ? 0 : 2;
  }
  // Checked before a display is needed: without one the GUI application ends the process,
  // and a command line it does not take is refused all the same.
  {
    QCoreApplication text_only(argc, argv);
    if (!ParseArguments()) return 2;
  }
  QApplication app(argc, argv);
  QApplication::setWindowIcon(qrv::AppIcon());
  qrv::LoadQtTranslations(app);
  const std::optional<qrv::StartOptions> parsed = ParseArguments();
  if (!parsed) return 2;
  const qrv::StartOptions& options = *parsed;

  qrv::InstanceGuard guard;
  if (!guard.Acquire()) {
    RefuseSecondCopy();
    return 0;
  }

  qrv::WindowMapGuard map_guard;
  qrv::MessageBoxReporter boxes;
  qrv::PrintingReporter printed;
  qrv::Reporter& reporter = BoxesToStderr() ? static_cast<qrv::Reporter&>(printed) : boxes;
  qrv::QtPrompts prompts;
  qrv::Application application(options, qrv::ProcessDisplayConfig(), reporter, prompts);
  qrv::TraceFirstPaint();
  application.Start();
  prompts.set_owner(&application.window());
  return QApplication::exec();
}
