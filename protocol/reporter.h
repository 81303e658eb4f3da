#pragma once

#include <string_view>

namespace qrv {

// Everything the link tells the operator goes through here: the GUI shows message boxes,
// tests and command-line tools record or print.
class Reporter {
 public:
  virtual ~Reporter() = default;
  // Stop icon, caption "Error".
  virtual void ErrorBox(std::string_view text) = 0;
  // Exclamation icon, caption "Error".
  virtual void WarningBox(std::string_view text) = 0;
  // "設定完了" / "Success": the board accepted a single send.
  virtual void SetCompleteBox() = 0;
  // "読み込み完了" / "Success": the board reported the end of a read.
  virtual void ReadCompleteBox() = 0;
};

// Shows nothing: for callers that want only what a line does to the configuration.
class SilentReporter : public Reporter {
 public:
  void ErrorBox(std::string_view) override {}
  void WarningBox(std::string_view) override {}
  void SetCompleteBox() override {}
  void ReadCompleteBox() override {}
};

}  // namespace qrv
