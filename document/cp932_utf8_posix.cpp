#include <iconv.h>

#include <cerrno>

#include "cp932_utf8.h"
#include "display_config.h"

namespace qrv {
namespace {

// One iconv conversion, whole or not at all.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // False, with the offset of the first byte not taken, when the input does not convert.
  bool Run(std::string_view in, std::string& out, std::size_t* bad_at = nullptr) {
    out.clear();
    if (!ok()) {
      if (bad_at) *bad_at = 0;
      return false;
    }
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* in_at = const_cast<char*>(in.data());
    std::size_t in_left = in.size();
    char buffer[4096];
    while (in_left > 0) {
      char* to = buffer;
      std::size_t to_left = sizeof buffer;
      const std::size_t done = iconv(cd_, &in_at, &in_left, &to, &to_left);
      out.append(buffer, static_cast<std::size_t>(to - buffer));
      if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
        if (bad_at) *bad_at = static_cast<std::size_t>(in_at - in.data());
        return false;
      }
    }
    char* to = buffer;
    std::size_t to_left = sizeof buffer;
    iconv(cd_, nullptr, nullptr, &to, &to_left);
    out.append(buffer, static_cast<std::size_t>(to - buffer));
    return true;
  }

 private:
  iconv_t cd_;
};

constexpr char kCodePage[] = "CP932";
constexpr char kCodePoints[] = "UTF-32LE";  // without a byte-order mark

bool IsControl(char32_t c) {
  return c < 0x20 || c == 0x7F;
}

std::string CodePointBytes(char32_t c) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((c >> (8 * i)) & 0xFF);
  return bytes;
}

}  // namespace

std::string Utf8FromCp932(std::string_view cp932,
                          const std::function<std::string(unsigned char)>& replace) {
  Converter converter("UTF-8", kCodePage);
  std::string out, piece;
  while (!cp932.empty()) {
    // One character at a time, so a byte that does not decode costs only itself.
    const auto first = static_cast<unsigned char>(cp932[0]);
    const std::size_t width = cp932.size() > 1 && IsSjisLeadByte(first) ? 2 : 1;
    if (IsControl(first) || !converter.Run(cp932.substr(0, width), piece)) {
      out += replace(first);
      cp932.remove_prefix(1);
      continue;
    }
    out += piece;
    cp932.remove_prefix(width);
  }
  return out;
}

std::optional<std::string> Utf8FromCp932Text(std::string_view cp932, std::size_t* bad_at) {
  std::string out;
  if (!Converter("UTF-8", kCodePage).Run(cp932, out, bad_at)) return std::nullopt;
  return out;
}

std::optional<std::u32string> CodePointsFromUtf8(std::string_view utf8, std::size_t* bad_at) {
  std::string bytes;
  if (!Converter(kCodePoints, "UTF-8").Run(utf8, bytes, bad_at)) return std::nullopt;
  std::u32string points(bytes.size() / 4, U'\0');
  for (std::size_t i = 0; i < points.size(); ++i) {
    for (int b = 3; b >= 0; --b)
      points[i] = (points[i] << 8) | static_cast<unsigned char>(bytes[4 * i + b]);
  }
  return points;
}

std::string Utf8FromCodePoint(char32_t character) {
  std::string out;
  Converter("UTF-8", kCodePoints).Run(CodePointBytes(character), out);
  return out;
}

Cp932Encoding Cp932FromUtf8(std::string_view utf8) {
  Cp932Encoding result;
  const std::optional<std::u32string> points = CodePointsFromUtf8(utf8, nullptr);
  Converter to_cp932(kCodePage, kCodePoints), back(kCodePoints, kCodePage);
  std::string bytes, again;
  for (const char32_t typed : points.value_or(U"\uFFFD")) {
    const char32_t character = Cp932Form(typed);
    const std::string point = CodePointBytes(character);
    const bool held = !IsControl(character) && to_cp932.Run(point, bytes) && !bytes.empty() &&
                      back.Run(bytes, again) && again == point;
    if (held) {
      result.bytes += bytes;
    } else if (result.refused.find(typed) == std::u32string::npos) {
      result.refused += typed;
    }
  }
  return result;
}

}  // namespace qrv
