#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace qrv {

// Why something failed, in the operator's language for the screen and in English for what
// scripts read (the client's JSON report), which must not change with the locale.
struct ReasonText {
  std::string shown;
  std::string english;
};

// One part of a reason: the same words in both, or a reason of its own.
class ReasonTextPart {
 public:
  ReasonTextPart(std::string_view both) : shown_(both), english_(both) {}
  ReasonTextPart(const char* both) : shown_(both), english_(both) {}
  ReasonTextPart(const std::string& both) : shown_(both), english_(both) {}
  ReasonTextPart(const ReasonText& reason) : shown_(reason.shown), english_(reason.english) {}

  std::string_view shown() const { return shown_; }
  std::string_view english() const { return english_; }

 private:
  std::string_view shown_;
  std::string_view english_;
};

// The sentence pattern (as Format takes it) translated for the screen, and as it is.
ReasonText Explain(const char* pattern, std::initializer_list<ReasonTextPart> parts = {});

}  // namespace qrv
