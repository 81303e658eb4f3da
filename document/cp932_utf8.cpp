#include "cp932_utf8.h"

namespace qrv {

char32_t Cp932Form(char32_t character) {
  static const struct {
    char32_t jis, cp932;
  } kForms[] = {
      {U'\u301C', U'\uFF5E'},  // WAVE DASH
      {U'\u2016', U'\u2225'},  // DOUBLE VERTICAL LINE
      {U'\u2212', U'\uFF0D'},  // MINUS SIGN
      {U'\u00A2', U'\uFFE0'},  // CENT SIGN
      {U'\u00A3', U'\uFFE1'},  // POUND SIGN
      {U'\u00AC', U'\uFFE2'},  // NOT SIGN
      {U'\u2014', U'\u2015'},  // EM DASH
  };
  for (const auto& form : kForms) {
    if (character == form.jis) return form.cp932;
  }
  return character;
}

}  // namespace qrv
