#include <time.h>

#include "local_time.h"

namespace qrv {

std::tm LocalTime(std::time_t t) {
  std::tm tm{};
  localtime_s(&tm, &t);
  return tm;
}

}  // namespace qrv
