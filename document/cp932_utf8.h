#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qrv {

// Characters of JIS X 0208 that Unicode names twice take the form code page 932 maps: input
// methods outside Windows type the JIS mapping's wave dash, minus sign and the like.
char32_t Cp932Form(char32_t character);

// Code page 932 text as UTF-8, character by character. A control byte, or a byte that starts
// no character, is given to replace (once per byte), so no such byte passes through.
std::string Utf8FromCp932(std::string_view cp932,
                          const std::function<std::string(unsigned char)>& replace);

// A whole text, control bytes and line ends included, from code page 932 or from UTF-8
// (which it must then be throughout). Nothing when a byte does not fit, with its offset.
std::optional<std::string> Utf8FromCp932Text(std::string_view cp932, std::size_t* bad_at);
std::optional<std::u32string> CodePointsFromUtf8(std::string_view utf8, std::size_t* bad_at);
std::string Utf8FromCodePoint(char32_t character);

struct Cp932Encoding {
  std::string bytes;       // the characters code page 932 holds
  std::u32string refused;  // the characters it lacks, each once, in order
};

// UTF-8 text to code page 932. A character counts as held only when its bytes give it back
// unchanged, so nothing is stored as a look-alike; control characters are refused.
Cp932Encoding Cp932FromUtf8(std::string_view utf8);

}  // namespace qrv
