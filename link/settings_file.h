#pragma once

#include <string>
#include <string_view>

namespace qrv {

// The system's part of the settings file: where it is, reading it, its folders. It is
// written as every file the program writes (SaveFileBytes).

enum class SettingsRead { kOk, kMissing, kFailed };

SettingsRead ReadSettingsFile(const std::string& path, std::string* text);

// Makes the folders above path that are missing.
bool MakeSettingsFolders(const std::string& path);

}  // namespace qrv
