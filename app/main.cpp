// qrv470kse: the QRV-470K configuration utility.

#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <optional>

#include "app_icon.h"
#include "application.h"
#include "instance_guard.h"
#include "message_box_reporter.h"
#include "printing_reporter.h"
#include "qrv_version.h"
#include "qt_prompts.h"
#include "start_options.h"
#include "startup_trace.h"

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

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("qrv470kse"));
  QApplication::setApplicationVersion(QStringLiteral(QRV_VERSION));
  QApplication::setWindowIcon(qrv::AppIcon());
  QString error;
  const std::optional<qrv::StartOptions> parsed =
      qrv::ParseStartOptions(QApplication::arguments(), &error);
  if (!parsed) {
    std::fprintf(stderr, "qrv470kse: %s\n", qPrintable(error));
    return 2;
  }
  const qrv::StartOptions& options = *parsed;

  qrv::InstanceGuard guard;
  if (!guard.Acquire()) {
    RefuseSecondCopy();
    return 0;
  }

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
