#pragma once

#include <string_view>
#include <vector>

#include "display_config.h"
#include "link_state.h"
#include "reporter.h"

namespace qrv {

// Acts on every line the board sends: marks the link as answered, tells the operator what the
// line means and stores the values of a data response. Lines are not paired with requests;
// each is understood by its own leading characters.
class ResponseDispatcher {
 public:
  // Longest line taken; the rest of a longer line is dropped.
  static constexpr std::size_t kMaxLineBytes = 499;

  ResponseDispatcher(DisplayConfig& config, LinkState& link, Reporter& reporter)
      : config_(config), link_(link), reporter_(reporter) {}

  // One received line, CR LF included. Text after a NUL byte is not looked at.
  void Dispatch(std::string_view line);

 private:
  DisplayConfig& config_;
  LinkState& link_;
  Reporter& reporter_;
};

// Whether Dispatch would understand line as the board's: "GO", an error answer, or a line led
// by a known tag or by 'P'. Tells the board's answers from a device server's greeting.
bool IsBoardAnswer(std::string_view line);

// What an error answer means ("Parity Error" for "E1" CR LF), as Dispatch reports it;
// nullptr for any other line.
const char* ErrorAnswerMeaning(std::string_view line);

// The error answers the board gives, without their CR LF: "GN", "MENU", "E0".."E3".
std::vector<std::string_view> ErrorAnswers();

}  // namespace qrv
