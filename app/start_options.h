#pragma once

#include <QStringList>
#include <string>

namespace qrv {

struct StartOptions {
  std::string settings_path;  // the settings file; empty: the user's default
  std::string port;           // a device that overrides the settings; empty: none
  bool simulate = false;      // talk to a board simulated in the program
  std::string log_path;       // where to append the traffic log; empty: no log
};

// Reads the command line; prints help or an error and ends the process for --help,
// --version and unknown options.
StartOptions ParseStartOptions(const QStringList& arguments);

}  // namespace qrv
