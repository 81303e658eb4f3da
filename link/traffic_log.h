#pragma once

#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>

namespace qrv {

enum class TrafficDirection { kSent, kReceived, kSkipped };

// Now, local time, to the millisecond: "2026-12-07 03:04:05.123".
std::string TrafficTimestamp();
// One entry as the log writes it, without the line end; bytes shown as VisibleText shows
// them. The traffic monitor shows the same text.
std::string TrafficEntryText(std::string_view time, std::string_view port,
                             TrafficDirection direction, std::string_view bytes);

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
  // Stops writing; entries until the next Open are dropped.
  void Close();
  bool is_open();

  // A frame sent, a line received (CR LF included) or bytes skipped on port.
  void Record(TrafficDirection direction, std::string_view port, std::string_view bytes);

 private:
  std::mutex mutex_;
  std::FILE* file_ = nullptr;
};

}  // namespace qrv
