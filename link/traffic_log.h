#pragma once

#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>

namespace qrv {

// A text file of what went over the link, one entry a line, for a technician to follow with
// tail -f: "2026-12-07 03:04:05.123 /dev/pts/3 -> CA01...<CR><LF>" for a frame sent, "<-"
// for a line received, "<- (skipped)" for bytes dropped before the board's first answer.
// Bytes are shown as VisibleText shows them. Any thread may write.
class TrafficLog {
 public:
  TrafficLog() = default;
  ~TrafficLog();
  TrafficLog(const TrafficLog&) = delete;
  TrafficLog& operator=(const TrafficLog&) = delete;

  // Appends to path, creating it if needed; false with the reason in *error when it cannot.
  bool Open(const std::string& path, std::string* error);

  void Sent(std::string_view port, std::string_view frame);
  void Received(std::string_view port, std::string_view line);
  void Skipped(std::string_view port, std::string_view bytes);

 private:
  void Write(std::string_view port, std::string_view direction, std::string_view bytes);

  std::mutex mutex_;
  std::FILE* file_ = nullptr;
};

}  // namespace qrv
