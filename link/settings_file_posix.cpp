#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "config_files.h"
#include "serial_settings.h"
#include "settings_file.h"

namespace qrv {
std::string DefaultSettingsPath() {
  std::string base;
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    if (!home || !home[0]) {
      const passwd* pw = getpwuid(getuid());
      home = pw ? pw->pw_dir : nullptr;
    }
    if (!home || !home[0]) return {};
    base = home;
    if (base.back() != '/') base += '/';
    base += ".config";
  }
  if (base.back() != '/') base += '/';
  return base + kSettingsFileName;
}

SettingsRead ReadSettingsFile(const std::string& path, std::string* out) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0)
    return errno == ENOENT ? SettingsRead::kMissing : SettingsRead::kFailed;
  return LoadFileBytes(path, *out, nullptr) ? SettingsRead::kOk : SettingsRead::kFailed;
}

// mkdir -p with the 0700 the XDG base directory rules ask for.
bool MakeSettingsFolders(const std::string& path) {
  for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    if (mkdir(path.substr(0, slash).c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return true;
}

}  // namespace qrv
