#include "translation.h"

namespace qrv {

// Windows has no libintl here: the client and the board speak English.
const char* Tr(const char* text) {
  return text;
}

const char* TrN(const char* one, const char* many, unsigned long n) {
  return n == 1 ? one : many;
}

void TakeOperatorLocale() {}

}  // namespace qrv
