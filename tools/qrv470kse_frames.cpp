// Prints the frames that sending a whole configuration puts on the line, step by step.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "config_file.h"
#include "display_config.h"
#include "messages.h"
#include "run_steps.h"
#include "visible_text.h"

namespace {

int Usage(std::ostream& out, int status) {
  out << "usage: qrv470kse-frames [FILE.dat]\n"
         "Prints the 103 steps of sending a whole configuration to the board: the\n"
         "frame of each step with CR and LF shown as <CR><LF>, or why nothing is sent.\n"
         "Without FILE the default configuration is used.\n";
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  qrv::DisplayConfig config;
  if (argc > 2) return Usage(std::cerr, 2);
  if (argc == 2) {
    const std::string arg = argv[1];
    if (arg == "-h" || arg == "--help") return Usage(std::cout, 0);
    std::ifstream in(arg, std::ios::binary);
    if (!in || std::filesystem::is_directory(arg)) {
      std::cerr << "qrv470kse-frames: cannot read " << arg << "\n";
      return 1;
    }
    qrv::ReadConfigFile(in, config);
  }

  for (int step = 1; step <= qrv::kAllItemsSteps; ++step) {
    const qrv::AllItemsStepResult r = qrv::AllItemsStep(config, step);
    std::printf("%3d  ", step);
    if (r.frame) {
      std::printf("%s\n", qrv::VisibleText(*r.frame).c_str());
    } else if (r.refusal == qrv::StepRefusal::kTitle) {
      std::printf("(refused, line %d: %s)\n", r.title.line + 1, qrv::msg::kTitleRefused);
    } else if (r.refusal == qrv::StepRefusal::kColour) {
      std::printf("(refused, line %d: %s)\n", r.colour_line + 1, qrv::msg::kCantSetColour);
    } else {
      std::printf("(nothing sent)\n");
    }
  }
  return 0;
}
