#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace qrv {

// Lets several Qt Test classes share one executable: each file registers its class, and
// the suite's main runs them all.
inline std::vector<std::function<std::unique_ptr<QObject>()>>& QtTestRegistry() {
  static std::vector<std::function<std::unique_ptr<QObject>()>> registry;
  return registry;
}

template <typename Test>
struct RegisterQtTest {
  RegisterQtTest() {
    QtTestRegistry().push_back([] { return std::unique_ptr<QObject>(new Test); });
  }
};

}  // namespace qrv

#define QRV_REGISTER_QT_TEST(Test) static const qrv::RegisterQtTest<Test> registered_##Test
