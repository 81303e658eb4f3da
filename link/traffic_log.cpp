#include "traffic_log.h"

#include <cerrno>
#include <chrono>
#include <cstring>

#include "local_time.h"
#include "visible_text.h"

namespace qrv {
namespace {

std::string Timestamp() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  const std::tm tm = LocalTime(system_clock::to_time_t(now));
  char text[32];
  const std::size_t n = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &tm);
  std::snprintf(text + n, sizeof text - n, ".%03d", static_cast<int>(ms));
  return text;
}

}  // namespace

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

void TrafficLog::Sent(std::string_view port, std::string_view frame) {
  Write(port, "->", frame);
}

void TrafficLog::Received(std::string_view port, std::string_view line) {
  Write(port, "<-", line);
}

void TrafficLog::Skipped(std::string_view port, std::string_view bytes) {
  Write(port, "<- (skipped)", bytes);
}

void TrafficLog::Write(std::string_view port, std::string_view direction, std::string_view bytes) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (file_ == nullptr) return;
  // Stamped under the lock, so the file holds the entries in the order of their times.
  std::string entry = Timestamp();
  entry.append(" ").append(port).append(" ").append(direction);
  entry.append(" ").append(VisibleText(bytes)).append("\n");
  // A full disk costs the log, never the link: failures are not looked at.
  std::fwrite(entry.data(), 1, entry.size(), file_);
  std::fflush(file_);
}

}  // namespace qrv
