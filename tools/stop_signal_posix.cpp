#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include "stop_signal.h"

namespace qrv {
namespace {

sigset_t StopSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  return set;
}

}  // namespace

StopSignal::StopSignal() {
  // The signals are taken by sigwait below, never by another thread.
  const sigset_t set = StopSignals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void StopSignal::Wait() {
  const sigset_t set = StopSignals();
  int signal_number = 0;
  sigwait(&set, &signal_number);
}

void StopSignal::Raise() {
  kill(getpid(), SIGTERM);
}

}  // namespace qrv
