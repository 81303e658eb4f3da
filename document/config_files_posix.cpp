#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "config_files.h"
#include "text_format.h"
#include "translation.h"

namespace qrv {
namespace {

// What could not be done to a file: kRead or kWrite, with the file and the reason put in.
constexpr char kRead[] = QRV_TEXT("cannot read {1}: {2}");
constexpr char kWrite[] = QRV_TEXT("cannot write {1}: {2}");

bool Fail(std::string* why, const char* what, const std::string& path, const std::string& reason) {
  if (why) *why = Format(Tr(what), {path, reason});
  return false;
}

bool Fail(std::string* why, const char* what, const std::string& path, int error) {
  return Fail(why, what, path, std::strerror(error));
}

int WriteAll(int fd, const std::string& data) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = write(fd, data.data() + done, data.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (errno != EINTR) {
      return errno;
    }
  }
  return 0;
}

// The file a save writes: the end of a symbolic link, and what is there now.
struct Target {
  std::string path;
  bool exists = false;
  struct stat st {};
};

std::string Folder(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool FindTarget(const std::string& path, Target& target, std::string* why) {
  if (stat(path.c_str(), &target.st) == 0) {
    if (!S_ISREG(target.st.st_mode)) return Fail(why, kWrite, path, Tr("not a regular file"));
    char* real = realpath(path.c_str(), nullptr);
    if (!real) return Fail(why, kWrite, path, errno);
    target.path = real;
    std::free(real);
    target.exists = true;
    // Root may write over a read-only file; the operator marked it read-only, so refuse.
    if (!(target.st.st_mode & S_IWUSR) || access(target.path.c_str(), W_OK) != 0)
      return Fail(why, kWrite, path, EACCES);
    return true;
  }
  if (errno != ENOENT) return Fail(why, kWrite, path, errno);
  struct stat link {};
  if (lstat(path.c_str(), &link) == 0) return Fail(why, kWrite, path, Tr("a link to nothing"));
  target.path = path;
  if (access(Folder(path).c_str(), W_OK) != 0) return Fail(why, kWrite, path, errno);
  return true;
}

// The temporary file being written, for the handler that removes it when the process is
// told to end mid-save. Saves take turns, so there is only ever one.
std::mutex save_turn;
char temp_path[PATH_MAX];
volatile std::sig_atomic_t temp_held = 0;
constexpr int kEndSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void RemoveTempAndEnd(int signal) {
  if (temp_held) unlink(temp_path);
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

// Holds the handler for the time of one save, where the program has left the signal's
// default (ending the process) in place.
class TempFileGuard {
 public:
  TempFileGuard() {
    struct sigaction ours {};
    ours.sa_handler = RemoveTempAndEnd;
    sigemptyset(&ours.sa_mask);
    for (std::size_t i = 0; i < std::size(kEndSignals); ++i) {
      sigaction(kEndSignals[i], nullptr, &old_[i]);
      if (old_[i].sa_handler == SIG_DFL) sigaction(kEndSignals[i], &ours, nullptr);
    }
    // Past the file-size limit a write then fails with EFBIG instead of killing the process.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction size_limit {};
    sigaction(SIGXFSZ, nullptr, &size_limit);
    if (size_limit.sa_handler == SIG_DFL) sigaction(SIGXFSZ, &ignore, nullptr);
  }
  ~TempFileGuard() {
    temp_held = 0;
    for (std::size_t i = 0; i < std::size(kEndSignals); ++i) {
      if (old_[i].sa_handler == SIG_DFL) sigaction(kEndSignals[i], &old_[i], nullptr);
    }
  }
  // mkstemp on the shared name, so the handler always holds the name as it now stands.
  int Make(const std::string& target) {
    const std::string pattern = target + ".XXXXXX";
    if (pattern.size() >= sizeof temp_path) {
      errno = ENAMETOOLONG;
      return -1;
    }
    std::memcpy(temp_path, pattern.c_str(), pattern.size() + 1);
    temp_held = 1;
    return mkstemp(temp_path);
  }
  void Remove() {
    unlink(temp_path);
    Release();
  }
  void Release() { temp_held = 0; }

 private:
  struct sigaction old_[std::size(kEndSignals)]{};
};

// Where no temporary file can be made beside the target, as in a folder the user may not
// write to: the old contents are lost if this fails halfway, but the file can be saved.
bool WriteInPlace(const Target& target, const std::string& data, std::string* why) {
  const int fd = open(target.path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return Fail(why, kWrite, target.path, errno);
  int error = WriteAll(fd, data);
  if (error == 0 && ftruncate(fd, static_cast<off_t>(data.size())) != 0) error = errno;
  if (error == 0 && fsync(fd) != 0) error = errno;
  if (close(fd) != 0 && error == 0) error = errno;
  return error == 0 || Fail(why, kWrite, target.path, error);
}

}  // namespace

bool LoadFileBytes(const std::string& path, std::string& bytes, std::string* why) {
  // Non-blocking, so a FIFO without a writer or a device cannot hold the caller.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return Fail(why, kRead, path, errno);
  struct stat st {};
  bytes.clear();
  int error = fstat(fd, &st) != 0 ? errno : 0;
  const char* refusal = nullptr;
  if (error == 0 && S_ISDIR(st.st_mode)) error = EISDIR;
  if (error == 0 && !S_ISREG(st.st_mode)) refusal = Tr("not a regular file");
  if (error == 0 && !refusal && static_cast<std::size_t>(st.st_size) > kMaxConfigFileBytes)
    refusal = Tr("larger than 1 MiB, not a configuration");
  // The file may grow while it is read: one byte past the limit is enough to tell.
  char buffer[8192];
  while (error == 0 && !refusal) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0 && errno != EINTR) error = errno;
    if (n > 0) bytes.append(buffer, static_cast<std::size_t>(n));
    if (bytes.size() > kMaxConfigFileBytes) refusal = Tr("larger than 1 MiB, not a configuration");
  }
  close(fd);
  if (error != 0) return Fail(why, kRead, path, error);
  if (refusal) return Fail(why, kRead, path, refusal);
  return true;
}

bool CheckConfigTarget(const std::string& path, std::string* why) {
  Target target;
  return FindTarget(path, target, why);
}

bool SaveFileBytes(const std::string& path, const std::string& data, std::string* why) {
  Target target;
  if (!FindTarget(path, target, why)) return false;

  const std::lock_guard<std::mutex> turn(save_turn);
  TempFileGuard temp;
  const int fd = temp.Make(target.path);
  if (fd < 0) {
    const int error = errno;
    temp.Release();  // nothing was made, and the name may be someone else's file
    return target.exists ? WriteInPlace(target, data, why) : Fail(why, kWrite, path, error);
  }
  int error = WriteAll(fd, data);
  // The old file's mode, or the usual one for a new file rather than mkstemp's owner-only.
  mode_t mode = target.st.st_mode & 07777;
  if (!target.exists) {
    const mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  if (error == 0 && fchmod(fd, mode) != 0) error = errno;
  // Root saving someone else's file leaves it theirs; others cannot, and need not.
  if (error == 0 && target.exists && geteuid() == 0 &&
      fchown(fd, target.st.st_uid, target.st.st_gid) != 0)
    error = errno;
  if (error == 0 && fsync(fd) != 0) error = errno;
  if (close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && rename(temp_path, target.path.c_str()) != 0) error = errno;
  if (error != 0) {
    temp.Remove();
    return Fail(why, kWrite, path, error);
  }
  return true;
}

}  // namespace qrv
