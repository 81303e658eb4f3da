#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "dispatch_notifier.h"
#include "display_config.h"
#include "link_state.h"
#include "reporter.h"
#include "settings_store.h"

namespace qrv {

// Choices the setting dialogs share for the life of the process; never saved.
struct DialogChoices {
  std::int32_t SlaveNumber = 0;  // position in every "Slave No." list
  std::int32_t PageGroup = 0;    // group of eight pages in the display time and level dialogs
};

// What every setting dialog works on. The application wires it once: the parts the
// constructor takes differ in type, the rest are set by name.
struct DialogContext {
  DialogContext(DisplayConfig& config, LinkState& link, Reporter& reporter, SettingsStore& settings,
                DialogChoices& choices)
      : config(config), link(link), reporter(reporter), settings(settings), choices(choices) {}

  // The same context, its boxes shown through other instead.
  DialogContext WithReporter(Reporter& other) const {
    DialogContext copy(config, link, other, settings, choices);
    copy.SendFrame = SendFrame;
    copy.ConfigChanged = ConfigChanged;
    copy.dispatched = dispatched;
    copy.ConfirmRead = ConfirmRead;
    return copy;
  }

  // The operator stored a choice into the configuration: the document is modified, and the
  // windows that show it follow. Every place that edits the configuration ends so.
  void SettingStored() const {
    config.modified = 1;
    ConfigChanged();
  }

  DisplayConfig& config;
  LinkState& link;
  Reporter& reporter;
  // The serial settings; choices kept across sessions are written through it.
  SettingsStore& settings;
  DialogChoices& choices;
  // Hands one frame to the transmit path; returns at once.
  std::function<bool(std::string_view frame)> SendFrame = [](std::string_view) { return false; };
  // Tells the windows that show the configuration that a dialog changed it.
  std::function<void()> ConfigChanged = [] {};
  // Whether a read from the board may replace the document: asks first when it holds
  // unsaved changes, as opening a file does.
  std::function<bool()> ConfirmRead = [] { return true; };
  // Says when a received line has been dispatched; none: nothing is received.
  const DispatchNotifier* dispatched = nullptr;
};

}  // namespace qrv
