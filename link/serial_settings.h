#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qrv {

// The serial line settings live in an INI file that follows the rules of the Windows
// profile functions (GetPrivateProfileString, then atoi), so a file from a Windows install
// or edited by hand reads the same here.
constexpr char kSettingsFileName[] = "qrv470kse.ini";
constexpr char kSettingsSection[] = "QRV-470KSE_Section";

struct SerialSettings {
  std::int32_t com_port = 0;     // index of the serial port, 0..5 when valid
  std::int32_t com_control = 0;  // 0 RS-232C, 1 RS-485
  std::string com_device;        // device path overriding com_port; empty when absent
  std::int32_t answer_pace = 0;  // 1: the whole-configuration runs go on at each answer
  std::string preview_window;    // "x,y,width,height" of the preview; empty when never kept
  std::string file_folder;       // where the last file was opened or saved; empty when none
};

// $XDG_CONFIG_HOME/qrv470kse.ini when that is an absolute path, else
// <home>/.config/qrv470kse.ini; empty when no home directory is known.
std::string DefaultSettingsPath();

// Missing file, section or key reads as 0. Numbers see at most their first 9 characters and
// convert as atoi does ("3abc" is 3, "x" is 0); com_device is read whole.
SerialSettings ReadSerialSettings(const std::string& path);

// Sets one key of the section to the decimal value, leaving every other byte of the file
// as it was, and replaces the file atomically (creating it and its directories if needed).
// False when the file could not be read or written; the file is then unchanged.
bool WriteSerialSetting(const std::string& path, std::string_view key, std::int32_t value);
// The same for a text value (com_device); no value removes the key's line. A value with a
// line break or blanks at either end cannot be stored.
bool WriteSerialSettingText(const std::string& path, std::string_view key,
                            const std::optional<std::string_view>& value);

}  // namespace qrv
