#pragma once

#include <QStringList>
#include <optional>
#include <string>

namespace qrv {

struct StartOptions {
  std::string settings_path;  // the settings file; empty: the user's default
  std::string port;           // a device that overrides the settings; empty: none
  bool simulate = false;      // talk to a board simulated in the program
  std::string log_path;       // where to append the traffic log; empty: no log
};

// Reads the command line; prints help and ends the process for --help and --version.
// Nothing, with a one-line reason, for an unknown option, an argument it does not take or a
// settings file that is a folder.
std::optional<StartOptions> ParseStartOptions(const QStringList& arguments, QString* error);

}  // namespace qrv
