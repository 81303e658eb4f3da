#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

#include "config_files.h"

namespace qrv {

// A folder of its own for a test's files, removed afterwards.
class ScratchFolder {
 public:
  ScratchFolder() {
    char name[] = "/tmp/qrv-test-XXXXXX";
    path_ = mkdtemp(name);
  }
  ~ScratchFolder() { std::filesystem::remove_all(path_); }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

  std::string Save(const std::string& name, const DisplayConfig& config) const {
    std::string why;
    SaveConfigFile(*this / name, config, &why);
    return *this / name;
  }

 private:
  std::string path_;
};

}  // namespace qrv
