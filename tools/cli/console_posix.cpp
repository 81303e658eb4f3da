#include <sys/ioctl.h>
#include <unistd.h>

#include "console.h"

namespace qrv {

bool PrepareConsole() {
  return isatty(STDOUT_FILENO) != 0;
}

int ConsoleRows() {
  winsize size{};
  return ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 ? size.ws_row : 0;
}

}  // namespace qrv
