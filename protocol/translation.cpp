#include "translation.h"

namespace qrv {

const char* Tr(const char* text) {
  return text;
}

const char* TrN(const char* one, const char* many, unsigned long n) {
  return n == 1 ? one : many;
}

}  // namespace qrv
