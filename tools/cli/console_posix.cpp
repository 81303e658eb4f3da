#include <unistd.h>

#include "console.h"

namespace qrv {

bool PrepareConsole() {
  return isatty(STDOUT_FILENO) != 0;
}

}  // namespace qrv
