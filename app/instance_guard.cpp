#include "instance_guard.h"

#include <QDir>
#include <QStandardPaths>

namespace qrv {

InstanceGuard::InstanceGuard(const QString& directory) {
  const QString dir = directory.isEmpty()
                          ? QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)
                          : directory;
  lock_ = std::make_unique<QLockFile>(QDir(dir).filePath(QString::fromLatin1(kLockName)));
  // A running copy's lock never goes stale with age; a dead copy's is found by its pid.
  lock_->setStaleLockTime(0);
}

bool InstanceGuard::Acquire() {
  if (lock_->tryLock(0)) return true;
  return lock_->error() != QLockFile::LockFailedError;
}

}  // namespace qrv
