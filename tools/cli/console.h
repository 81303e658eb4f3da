#pragma once

namespace qrv {

// Readies the console for the client's output (UTF-8 text, the progress bars' escape
// sequences) and tells whether standard output is a terminal.
bool PrepareConsole();
// The terminal's height in rows, 0 when standard output is none or does not say.
int ConsoleRows();

}  // namespace qrv
