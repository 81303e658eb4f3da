#include "settings_store.h"

#include <optional>

#include "messages.h"

namespace qrv {

void SettingsStore::Load() {
  values_ = ReadSerialSettings(path_);
}

void SettingsStore::SetComPort(std::int32_t index) {
  values_.com_port = index;
  values_.com_device.clear();
  Written(WriteSerialSetting(path_, "com_port", index) &&
          WriteSerialSettingText(path_, "com_device", std::nullopt));
}

void SettingsStore::SetComDevice(const std::string& device) {
  values_.com_device = device;
  Written(WriteSerialSettingText(path_, "com_device", device));
}

void SettingsStore::SetComControl(std::int32_t control) {
  values_.com_control = control;
  Written(WriteSerialSetting(path_, "com_control", control));
}

void SettingsStore::SetAnswerPace(bool answer_paced) {
  values_.answer_pace = answer_paced ? 1 : 0;
  Written(WriteSerialSetting(path_, "answer_pace", values_.answer_pace));
}

void SettingsStore::SetPreviewWindow(const std::string& geometry) {
  if (geometry == values_.preview_window) return;
  values_.preview_window = geometry;
  Written(WriteSerialSettingText(path_, "preview_window", geometry));
}

void SettingsStore::SetFileFolder(const std::string& folder) {
  if (folder == values_.file_folder) return;
  values_.file_folder = folder;
  const bool storable = !folder.empty() && folder.front() != ' ' && folder.back() != ' ' &&
                        folder.find_first_of("\r\n\t") == std::string::npos;
  if (storable) Written(WriteSerialSettingText(path_, "file_folder", folder));
}

void SettingsStore::Written(bool ok) {
  if (!ok) reporter_.WarningBox(std::string(msg::kSettingsNotSaved) + path_);
}

}  // namespace qrv
