#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>

#include "config_files.h"

namespace qrv {

// A folder of its own for a test's files, removed afterwards.
class ScratchFolder {
 public:
  ScratchFolder() {
    static std::atomic<unsigned> count{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (unsigned attempt = 0;; ++attempt) {
      path_ = (std::filesystem::temp_directory_path() /
               ("qrv-test-" + std::to_string(stamp) + "-" + std::to_string(count++)))
                  .string();
      if (std::filesystem::create_directory(path_) || attempt > 100) break;
    }
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
