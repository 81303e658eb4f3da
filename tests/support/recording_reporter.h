#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "reporter.h"

namespace qrv {

// Records each box as "error:TEXT", "warning:TEXT", "set-complete" or "read-complete".
class RecordingReporter : public Reporter {
 public:
  std::vector<std::string> shown;
  void ErrorBox(std::string_view text) override { shown.push_back("error:" + std::string(text)); }
  void WarningBox(std::string_view text) override {
    shown.push_back("warning:" + std::string(text));
  }
  void SetCompleteBox() override { shown.push_back("set-complete"); }
  void ReadCompleteBox() override { shown.push_back("read-complete"); }
};

}  // namespace qrv
