#include "local_time.h"

#include <time.h>

namespace qrv {

std::tm LocalTime(std::time_t t) {
  std::tm tm{};
  localtime_r(&t, &tm);
  return tm;
}

}  // namespace qrv
