#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "display_config.h"
#include "link_state.h"
#include "reporter.h"
#include "serial_settings.h"

namespace qrv {

// Choices the setting dialogs share for the life of the process; never saved.
struct DialogChoices {
  std::int32_t SlaveNumber = 0;  // position in every "Slave No." list
  std::int32_t PageGroup = 0;    // group of eight pages in the display time and level dialogs
};

// What every setting dialog works on. The application wires it once.
struct DialogContext {
  DisplayConfig& config;
  LinkState& link;
  Reporter& reporter;
  SerialSettings& settings;
  DialogChoices& choices;
  // Hands one frame to the transmit path; returns at once.
  std::function<bool(std::string_view frame)> SendFrame;
  // Tells the windows that show the configuration that a dialog changed it.
  std::function<void()> ConfigChanged = [] {};
  // Where a choice kept across sessions is written; empty: nowhere.
  std::string settings_path = {};
};

}  // namespace qrv
