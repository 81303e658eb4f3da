#pragma once

namespace qrv {

// Readies the console for the client's output (UTF-8 text, the progress bars' escape
// sequences) and tells whether standard output is a terminal.
bool PrepareConsole();

}  // namespace qrv
