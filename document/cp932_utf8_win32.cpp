#include <windows.h>

#include "cp932_utf8.h"
#include "display_config.h"

namespace qrv {
namespace {

constexpr UINT kCodePage = 932;

bool IsControl(char32_t c) {
  return c < 0x20 || c == 0x7F;
}

// Text of one code page to UTF-16, whole or not at all.
bool Wide(UINT code_page, std::string_view in, std::wstring& out) {
  out.clear();
  if (in.empty()) return true;
  const int size = MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, in.data(),
                                       static_cast<int>(in.size()), nullptr, 0);
  if (size <= 0) return false;
  out.resize(static_cast<std::size_t>(size));
  return MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, in.data(),
                             static_cast<int>(in.size()), out.data(), size) == size;
}

std::string Narrow(UINT code_page, const std::wstring& in, bool* lossy = nullptr) {
  if (in.empty()) return {};
  BOOL used_default = FALSE;
  const bool check = lossy != nullptr;
  const DWORD flags = check ? WC_NO_BEST_FIT_CHARS : 0;
  const int size = WideCharToMultiByte(code_page, flags, in.data(), static_cast<int>(in.size()),
                                       nullptr, 0, nullptr, check ? &used_default : nullptr);
  std::string out(static_cast<std::size_t>(std::max(size, 0)), '\0');
  WideCharToMultiByte(code_page, flags, in.data(), static_cast<int>(in.size()), out.data(), size,
                      nullptr, check ? &used_default : nullptr);
  if (check) *lossy = used_default != FALSE || size <= 0;
  return out;
}

std::wstring Utf16FromCodePoint(char32_t c) {
  if (c < 0x10000) return std::wstring(1, static_cast<wchar_t>(c));
  c -= 0x10000;
  return {static_cast<wchar_t>(0xD800 + (c >> 10)), static_cast<wchar_t>(0xDC00 + (c & 0x3FF))};
}

// The bytes of the UTF-8 sequence a lead byte begins.
std::size_t Utf8Width(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  return 4;
}

// Code page text converted character by character, so a failure names its byte.
template <typename Width, typename Take>
bool EachCharacter(UINT code_page, std::string_view in, std::size_t* bad_at, Width width,
                   Take take) {
  std::wstring wide;
  for (std::size_t at = 0; at < in.size();) {
    const std::size_t n = std::min(width(static_cast<unsigned char>(in[at]), at), in.size() - at);
    if (!Wide(code_page, in.substr(at, n), wide)) {
      if (bad_at) *bad_at = at;
      return false;
    }
    take(wide);
    at += n;
  }
  return true;
}

}  // namespace

std::string Utf8FromCp932(std::string_view cp932,
                          const std::function<std::string(unsigned char)>& replace) {
  std::string out;
  std::wstring wide;
  while (!cp932.empty()) {
    // One character at a time, so a byte that does not decode costs only itself.
    const auto first = static_cast<unsigned char>(cp932[0]);
    const std::size_t width = cp932.size() > 1 && IsSjisLeadByte(first) ? 2 : 1;
    if (IsControl(first) || !Wide(kCodePage, cp932.substr(0, width), wide)) {
      out += replace(first);
      cp932.remove_prefix(1);
      continue;
    }
    out += Narrow(CP_UTF8, wide);
    cp932.remove_prefix(width);
  }
  return out;
}

std::optional<std::string> Utf8FromCp932Text(std::string_view cp932, std::size_t* bad_at) {
  std::wstring all;
  const auto width = [&cp932](unsigned char lead, std::size_t at) -> std::size_t {
    return at + 1 < cp932.size() && IsSjisLeadByte(lead) ? 2 : 1;
  };
  if (!EachCharacter(kCodePage, cp932, bad_at, width, [&all](const std::wstring& w) { all += w; }))
    return std::nullopt;
  return Narrow(CP_UTF8, all);
}

std::optional<std::u32string> CodePointsFromUtf8(std::string_view utf8, std::size_t* bad_at) {
  std::u32string points;
  const auto width = [](unsigned char lead, std::size_t) { return Utf8Width(lead); };
  const auto take = [&points](const std::wstring& w) {
    if (w.size() == 2) {
      points += static_cast<char32_t>(0x10000 + ((w[0] - 0xD800) << 10) + (w[1] - 0xDC00));
    } else {
      points += static_cast<char32_t>(w[0]);
    }
  };
  if (!EachCharacter(CP_UTF8, utf8, bad_at, width, take)) return std::nullopt;
  return points;
}

std::string Utf8FromCodePoint(char32_t character) {
  return Narrow(CP_UTF8, Utf16FromCodePoint(character));
}

Cp932Encoding Cp932FromUtf8(std::string_view utf8) {
  Cp932Encoding result;
  const std::optional<std::u32string> points = CodePointsFromUtf8(utf8, nullptr);
  std::wstring again;
  for (const char32_t typed : points.value_or(U"\uFFFD")) {
    const char32_t character = Cp932Form(typed);
    const std::wstring wide = Utf16FromCodePoint(character);
    bool lossy = true;
    const std::string bytes =
        IsControl(character) ? std::string() : Narrow(kCodePage, wide, &lossy);
    const bool held = !lossy && !bytes.empty() && Wide(kCodePage, bytes, again) && again == wide;
    if (held) {
      result.bytes += bytes;
    } else if (result.refused.find(typed) == std::u32string::npos) {
      result.refused += typed;
    }
  }
  return result;
}

}  // namespace qrv
