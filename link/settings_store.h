#pragma once

#include <cstdint>
#include <string>

#include "reporter.h"
#include "serial_settings.h"

namespace qrv {

// The serial settings as the program uses them and as its settings file keeps them. Each
// change is made in both at once; a file that cannot be written is reported ("Can't save
// the settings file PATH") and the change holds until the program ends.
class SettingsStore {
 public:
  SettingsStore(SerialSettings& values, std::string path, Reporter& reporter)
      : values_(values), path_(std::move(path)), reporter_(reporter) {}

  const SerialSettings& values() const { return values_; }
  const std::string& path() const { return path_; }

  // Reads the file; what it lacks reads as 0.
  void Load();

  // "COM n": the index, and no device path over it.
  void SetComPort(std::int32_t index);
  // Any other device, which wins over the index.
  void SetComDevice(const std::string& device);
  void SetComControl(std::int32_t control);
  void SetAnswerPace(bool answer_paced);
  // Where the preview window stood, as "x,y,width,height".
  void SetPreviewWindow(const std::string& geometry);
  // The folder of the file last opened or saved, where the next file dialog starts. A
  // folder the file cannot hold as a value (blanks at either end) is kept for this run only.
  void SetFileFolder(const std::string& folder);

 private:
  void Written(bool ok);

  SerialSettings& values_;
  std::string path_;
  Reporter& reporter_;
};

}  // namespace qrv
