#pragma once

#include <ctime>

namespace qrv {

// The calendar time of t in the local time zone; safe on any thread.
std::tm LocalTime(std::time_t t);

}  // namespace qrv
