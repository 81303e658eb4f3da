#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "pseudo_terminal.h"

namespace qrv {
PseudoTerminal::PseudoTerminal() {
  auto fail = [this](const char* what) {
    const int error = errno;
    Close();
    throw std::system_error(error, std::generic_category(), what);
  };
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0) fail("posix_openpt");
  char name[128];
  if (grantpt(master_) != 0 || unlockpt(master_) != 0 || ptsname_r(master_, name, sizeof name) != 0)
    fail("pseudo-terminal set-up");
  path_ = name;
  held_device_ = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (held_device_ < 0) fail(name);
  // Raw from the start, so nothing is echoed before the program sets the line up. The
  // settings are shared with the program's end: they must not be touched after this.
  termios t{};
  if (tcgetattr(held_device_, &t) == 0) {
    cfmakeraw(&t);
    tcsetattr(held_device_, TCSANOW, &t);
  }
}

PseudoTerminal::~PseudoTerminal() {
  Close();
}

void PseudoTerminal::Close() {
  if (held_device_ >= 0) close(held_device_);
  if (master_ >= 0) close(master_);
  held_device_ = master_ = -1;
}

}  // namespace qrv
