// Runs every registered Qt Test class in one process, offscreen unless a platform is set.

#include <QApplication>
#include <QTest>

#include "qt_test_registry.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  int failed = 0;
  for (const auto& make : qrv::QtTestRegistry()) {
    const std::unique_ptr<QObject> test = make();
    failed += QTest::qExec(test.get(), argc, argv) != 0 ? 1 : 0;
  }
  return failed == 0 ? 0 : 1;
}
