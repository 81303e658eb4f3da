#include <windows.h>

#include "stop_signal.h"

namespace qrv {
namespace {

HANDLE stop_event = nullptr;

BOOL WINAPI OnConsoleControl(DWORD) {
  SetEvent(stop_event);
  return TRUE;
}

}  // namespace

StopSignal::StopSignal() {
  stop_event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

void StopSignal::Wait() {
  WaitForSingleObject(stop_event, INFINITE);
}

void StopSignal::Raise() {
  SetEvent(stop_event);
}

}  // namespace qrv
