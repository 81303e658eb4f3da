#pragma once

#include <cstdio>
#include <string>

#include "reporter.h"

namespace qrv {

// Prints each report as one line on stderr instead of showing a box: for running the
// program unattended (QRV470KSE_BOXES=stderr), as the start-up tests do.
class PrintingReporter : public Reporter {
 public:
  void ErrorBox(std::string_view text) override { Print("error", text); }
  void WarningBox(std::string_view text) override { Print("warning", text); }
  void SetCompleteBox() override { Print("set-complete", "Success"); }
  void ReadCompleteBox() override { Print("read-complete", "Success"); }

  static void Print(std::string_view kind, std::string_view text) {
    std::fprintf(stderr, "box %.*s: %.*s\n", static_cast<int>(kind.size()), kind.data(),
                 static_cast<int>(text.size()), text.data());
    std::fflush(stderr);
  }
};

}  // namespace qrv
