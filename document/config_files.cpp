#include "config_files.h"

#include <sstream>

namespace qrv {

bool LoadConfigFile(const std::string& path, DisplayConfig& config, ConfigFileExtent* extent,
                    std::string* why) {
  std::string bytes;
  if (!LoadFileBytes(path, bytes, why)) return false;
  std::istringstream in(bytes, std::ios::binary);
  const ConfigFileExtent read = ReadConfigFile(in, config);
  if (extent) *extent = read;
  return true;
}

bool SaveConfigFile(const std::string& path, const DisplayConfig& config, std::string* why) {
  std::ostringstream bytes(std::ios::binary);
  WriteConfigFile(bytes, config);
  return SaveFileBytes(path, bytes.str(), why);
}

}  // namespace qrv
