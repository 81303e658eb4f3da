#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "traffic_log.h"

namespace qrv {

// The last kCapacity entries of what went over the link, kept from start-up for the traffic
// monitor, and counts of frames, answers and lost answers. The link records on its threads
// (frames on the GUI thread, lines on the reader's); the monitor takes what is new in
// batches. Any thread may call.
class TrafficRecorder {
 public:
  static constexpr std::size_t kCapacity = 2000;

  using Direction = TrafficDirection;
  struct Entry {
    std::uint64_t number;  // 1 for the first entry since start-up, never reused
    Direction direction;
    std::string text;     // as the traffic log writes it
    std::string meaning;  // an error answer and its meaning ("E1: Parity Error"), else empty
  };
  struct Counts {
    std::uint64_t sent = 0;
    std::uint64_t answers = 0;  // error answers included
    std::uint64_t errors = 0;
    std::uint64_t unanswered = 0;
  };

  // A frame sent, a line received (CR LF included) or bytes skipped on port.
  void Record(Direction direction, std::string_view port, std::string_view bytes);
  // The watchdog reported "No Connect".
  void Unanswered();

  // The entries held that are numbered after `after`, oldest first.
  std::vector<Entry> Since(std::uint64_t after) const;
  Counts counts() const;
  // Drops every entry and zeroes the counts; numbering goes on.
  void Clear();

 private:
  mutable std::mutex mutex_;
  std::deque<Entry> entries_;
  std::uint64_t last_number_ = 0;
  Counts counts_;
};

}  // namespace qrv
