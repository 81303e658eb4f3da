#pragma once

namespace qrv {

// For the start-up bench: with QRV470KSE_STARTUP_TRACE set to the launch time (ns since the
// epoch, as `date +%s%N` gives it), prints on stderr how long the start took until the
// first paint of a window. The program itself cannot see when it was launched, and a
// watcher polling for the window only finds it late. Call before any window is shown.
void TraceFirstPaint();

}  // namespace qrv
