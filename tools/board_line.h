#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "port_device.h"

namespace qrv {

// The line the board tool serves when none is named.
struct BoardLine {
  std::unique_ptr<PortDevice> device;
  std::string path;              // what the program opens to reach the board
  std::function<void()> unplug;  // lets go of what the device only borrows
};

// A fresh pseudo-terminal; nothing, with why, where the system has none (Windows).
std::optional<BoardLine> MakePseudoTerminalLine(std::string* why);

}  // namespace qrv
