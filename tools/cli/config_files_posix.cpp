#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "config_file.h"
#include "config_files.h"

namespace qrv {
namespace {

bool Fail(std::string* why, const std::string& what, const std::string& path, int error) {
  *why = "cannot " + what + " " + path + ": " + std::strerror(error);
  return false;
}

}  // namespace

bool LoadConfigFile(const std::string& path, DisplayConfig& config, std::string* why) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return Fail(why, "read", path, errno);
  if (S_ISDIR(st.st_mode)) return Fail(why, "read", path, EISDIR);
  std::ifstream in(path, std::ios::binary);
  if (!in) return Fail(why, "read", path, errno != 0 ? errno : EACCES);
  config.reset_to_defaults();
  ReadConfigFile(in, config);
  if (in.bad()) return Fail(why, "read", path, EIO);
  return true;
}

bool SaveConfigFile(const std::string& path, const DisplayConfig& config, std::string* why) {
  std::ostringstream bytes(std::ios::binary);
  WriteConfigFile(bytes, config);
  const std::string data = bytes.str();

  std::string temp = path + ".XXXXXX";
  const int fd = mkstemp(temp.data());
  if (fd < 0) return Fail(why, "write", path, errno);
  std::size_t done = 0;
  int error = 0;
  while (done < data.size() && error == 0) {
    const ssize_t n = write(fd, data.data() + done, data.size() - done);
    if (n > 0)
      done += static_cast<std::size_t>(n);
    else if (errno != EINTR)
      error = errno;
  }
  // A new file gets the usual permissions, not mkstemp's owner-only ones.
  const mode_t mask = umask(0);
  umask(mask);
  if (error == 0 && fchmod(fd, 0666 & ~mask) != 0) error = errno;
  if (error == 0 && fsync(fd) != 0) error = errno;
  if (close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && rename(temp.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    unlink(temp.c_str());
    return Fail(why, "write", path, error);
  }
  return true;
}

}  // namespace qrv
