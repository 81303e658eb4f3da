#include <windows.h>

#include "wake_pipe.h"

namespace qrv {

// A manual-reset event: set by Wake, cleared by Drain, waited on with the devices' events.
WakePipe::WakePipe() {
  const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (event == nullptr) {
    error_ = static_cast<int>(GetLastError());
    return;
  }
  handle_ = reinterpret_cast<std::intptr_t>(event);
}

WakePipe::~WakePipe() {
  if (error_ == 0) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

void WakePipe::Wake() {
  SetEvent(reinterpret_cast<HANDLE>(handle_));
}

void WakePipe::Drain() {
  ResetEvent(reinterpret_cast<HANDLE>(handle_));
}

bool WakePipe::WaitFor(std::chrono::nanoseconds timeout) const {
  const DWORD ms =
      timeout < std::chrono::nanoseconds::zero()
          ? INFINITE
          : static_cast<DWORD>(std::chrono::ceil<std::chrono::milliseconds>(timeout).count());
  return WaitForSingleObject(reinterpret_cast<HANDLE>(handle_), ms) == WAIT_OBJECT_0;
}

}  // namespace qrv
