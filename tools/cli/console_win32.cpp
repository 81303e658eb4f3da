#include <windows.h>

#include "console.h"

namespace qrv {

// The client writes UTF-8: the console shows it as such, and draws the progress bars from
// their escape sequences. Into a pipe or file the bytes go as they are.
bool PrepareConsole() {
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if (out == INVALID_HANDLE_VALUE || GetFileType(out) != FILE_TYPE_CHAR ||
      !GetConsoleMode(out, &mode))
    return false;
  SetConsoleOutputCP(CP_UTF8);
  return SetConsoleMode(out, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

int ConsoleRows() {
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(GetStdHandle(STD_OUTPUT_HANDLE), &info)) return 0;
  return info.srWindow.Bottom - info.srWindow.Top + 1;
}

}  // namespace qrv
