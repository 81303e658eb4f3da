// Reads arbitrary bytes as a .dat file, checks the document stays well formed, and that
// writing what was read and reading it back gives the same file again.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>

#include "config_file.h"

namespace {

constexpr char kFileName[] = "C:\\fuzz\\input.dat";

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

std::string Write(const qrv::DisplayConfig& config) {
  std::ostringstream out(std::ios::binary);
  Check(qrv::WriteConfigFile(out, config));
  return out.str();
}

void Read(const std::string& text, qrv::DisplayConfig& config) {
  std::istringstream in(text, std::ios::binary);
  qrv::ReadConfigFile(in, config);
}

void CheckWellFormed(const qrv::DisplayConfig& config) {
  for (const auto& page : config.title_text) {
    for (const auto& slot : page) {
      const void* nul = std::memchr(slot.data(), '\0', slot.size());
      Check(nul != nullptr);
      Check(static_cast<const char*>(nul) - slot.data() <= qrv::kTitleMaxBytes);
    }
  }
  Check(config.modified == 0);
  Check(config.file_name_text() == kFileName);
  Check(config.display_on == 1);
  Check(config.tsd_mode == 1);
}

void Prepare(qrv::DisplayConfig& config) {
  config.display_on = 1;
  config.modified = 1;
  config.set_file_name(kFileName);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qrv::DisplayConfig first;
  Prepare(first);
  Read(std::string(reinterpret_cast<const char*>(data), size), first);
  CheckWellFormed(first);
  const std::string written = Write(first);

  qrv::DisplayConfig second;
  Prepare(second);
  Read(written, second);
  CheckWellFormed(second);
  Check(Write(second) == written);
  return 0;
}
