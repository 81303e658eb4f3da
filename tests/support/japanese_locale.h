#pragma once

#include <clocale>
#include <cstdlib>
#include <string>

namespace qrv {

// The process under ja_JP.UTF-8 while it lives, as a Japanese operator runs the programs;
// the C locale again afterwards. Without that locale the cases skip, unless
// QRV_REQUIRE_JA_LOCALE=1 (CI) makes them fail.
class JapaneseLocale {
 public:
  JapaneseLocale() {
    // LANGUAGE would choose the catalogue's language over the locale's.
    ::unsetenv("LANGUAGE");
    set_ = std::setlocale(LC_ALL, "ja_JP.UTF-8") != nullptr ||
           std::setlocale(LC_ALL, "ja_JP.utf8") != nullptr;
  }
  ~JapaneseLocale() { std::setlocale(LC_ALL, "C"); }
  JapaneseLocale(const JapaneseLocale&) = delete;
  JapaneseLocale& operator=(const JapaneseLocale&) = delete;

  explicit operator bool() const { return set_; }
  // Whether its absence is a failure rather than a reason to skip.
  static bool Required() {
    const char* required = std::getenv("QRV_REQUIRE_JA_LOCALE");
    return required != nullptr && std::string(required) == "1";
  }

 private:
  bool set_ = false;
};

}  // namespace qrv

// Skips the test (or fails it where the locale is required) without ja_JP.UTF-8.
#define QRV_UNDER_JAPANESE_LOCALE(locale)                                    \
  ::qrv::JapaneseLocale locale;                                              \
  if (!(locale)) {                                                           \
    if (::qrv::JapaneseLocale::Required()) FAIL() << "no ja_JP.UTF-8";       \
    GTEST_SKIP() << "no ja_JP.UTF-8 locale (scripts/install-deps makes it)"; \
  }
