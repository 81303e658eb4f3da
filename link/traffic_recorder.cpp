#include "traffic_recorder.h"

#include "response_dispatcher.h"

namespace qrv {

void TrafficRecorder::Unanswered() {
  std::lock_guard<std::mutex> lock(mutex_);
  ++counts_.unanswered;
}

void TrafficRecorder::Record(Direction direction, std::string_view port, std::string_view bytes) {
  // Formatted outside the lock: the other thread of the link waits only for the push.
  std::string text = TrafficEntryText(TrafficTimestamp(), port, direction, bytes);
  std::string meaning;
  if (const char* error = direction == Direction::kReceived ? ErrorAnswerMeaning(bytes) : nullptr)
    meaning.assign(bytes.substr(0, bytes.find('\r'))).append(": ").append(error);
  std::lock_guard<std::mutex> lock(mutex_);
  if (entries_.size() == kCapacity) entries_.pop_front();
  if (!meaning.empty()) ++counts_.errors;
  entries_.push_back({++last_number_, direction, std::move(text), std::move(meaning)});
  if (direction == Direction::kSent) ++counts_.sent;
  if (direction == Direction::kReceived) ++counts_.answers;
}

std::vector<TrafficRecorder::Entry> TrafficRecorder::Since(std::uint64_t after) const {
  std::lock_guard<std::mutex> lock(mutex_);
  // Numbers run without gaps, so the first one wanted is found by subtraction.
  const std::uint64_t front = entries_.empty() ? last_number_ + 1 : entries_.front().number;
  const std::uint64_t skip = after >= front ? after - front + 1 : 0;
  if (skip >= entries_.size()) return {};
  return {entries_.begin() + static_cast<std::ptrdiff_t>(skip), entries_.end()};
}

TrafficRecorder::Counts TrafficRecorder::counts() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return counts_;
}

void TrafficRecorder::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  entries_.clear();
  counts_ = Counts{};
}

}  // namespace qrv
