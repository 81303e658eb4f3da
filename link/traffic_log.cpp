#include "traffic_log.h"

#include <cerrno>
#include <chrono>
#include <cstring>

#include "local_time.h"
#include "visible_text.h"

namespace qrv {

std::string TrafficTimestamp() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  const std::tm tm = LocalTime(system_clock::to_time_t(now));
  char text[32];
  const std::size_t n = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &tm);
  std::snprintf(text + n, sizeof text - n, ".%03d", static_cast<int>(ms));
  return text;
}

std::string TrafficEntryText(std::string_view time, std::string_view port,
                             TrafficDirection direction, std::string_view bytes) {
  static constexpr const char* kArrows[] = {"->", "<-", "<- (skipped)"};
  std::string entry(time);
  entry.append(" ").append(port).append(" ").append(kArrows[static_cast<int>(direction)]);
  entry.append(" ").append(VisibleText(bytes));
  return entry;
}

TrafficLog::~TrafficLog() {
  if (file_ != nullptr) std::fclose(file_);
}

bool TrafficLog::Open(const std::string& path, std::string* error) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (file == nullptr) {
    if (error != nullptr) *error = std::strerror(errno);
    return false;
  }
  if (file_ != nullptr) std::fclose(file_);
  file_ = file;
  return true;
}

void TrafficLog::Close() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

bool TrafficLog::is_open() {
  std::lock_guard<std::mutex> lock(mutex_);
  return file_ != nullptr;
}

void TrafficLog::Record(TrafficDirection direction, std::string_view port, std::string_view bytes) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (file_ == nullptr) return;
  // Stamped under the lock, so the file holds the entries in the order of their times.
  std::string entry = TrafficEntryText(TrafficTimestamp(), port, direction, bytes) + "\n";
  // A full disk costs the log, never the link: failures are not looked at.
  std::fwrite(entry.data(), 1, entry.size(), file_);
  std::fflush(file_);
}

}  // namespace qrv
