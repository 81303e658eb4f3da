#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace qrv {

// Only one copy of the program may drive the board. The first copy holds a lock file in the
// user's runtime directory for as long as it runs; the lock of a copy that died is taken
// over.
class InstanceGuard {
 public:
  static constexpr char kLockName[] = "QRV470K TCP_X_Mutex";

  // directory empty: the user's runtime directory.
  explicit InstanceGuard(const QString& directory = QString());

  // False when another running copy holds the lock. A lock that cannot be made at all
  // (no writable runtime directory) proves no other copy and lets this one run.
  bool Acquire();

 private:
  std::unique_ptr<QLockFile> lock_;
};

}  // namespace qrv
