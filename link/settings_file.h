#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qrv {

// The system's part of the settings file: finding, reading and replacing it.

enum class SettingsRead { kOk, kMissing, kFailed };

SettingsRead ReadSettingsFile(const std::string& path, std::string* text);

// The file a write of path changes: the file a symbolic link names, or path itself; nothing
// when a link cannot be followed.
std::optional<std::string> SettingsTarget(const std::string& path);

// Makes the folders above path that are missing.
bool MakeSettingsFolders(const std::string& path);

// Writes a sibling temporary file, then puts it in place of path so readers see either the
// old file or the new one, never a partial write; the old file's mode is kept.
bool ReplaceSettingsFile(const std::string& path, std::string_view data);

}  // namespace qrv
