#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "config_files.h"
#include "serial_settings.h"
#include "settings_file.h"
#include "win32_text.h"

namespace qrv {

// Beside the user's other programs' settings: %APPDATA%\qrv470kse.ini. (The Windows directory
// of the profile functions takes no writes from ordinary users.)
std::string DefaultSettingsPath() {
  wchar_t folder[MAX_PATH];
  const DWORD size = GetEnvironmentVariableW(L"APPDATA", folder, MAX_PATH);
  if (size == 0 || size >= MAX_PATH) return {};
  std::string base = AnsiFromWide(folder);
  if (base.back() != '\\' && base.back() != '/') base += '\\';
  return base + kSettingsFileName;
}

SettingsRead ReadSettingsFile(const std::string& path, std::string* text) {
  std::error_code error;
  if (!std::filesystem::exists(std::filesystem::path(WideFromAnsi(path)), error))
    return error ? SettingsRead::kFailed : SettingsRead::kMissing;
  return LoadFileBytes(path, *text, nullptr) ? SettingsRead::kOk : SettingsRead::kFailed;
}

bool MakeSettingsFolders(const std::string& path) {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(WideFromAnsi(path)).parent_path(),
                                      error);
  return !error;
}

}  // namespace qrv
