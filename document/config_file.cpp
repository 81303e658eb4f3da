#include "config_file.h"

#include <cstdint>
#include <initializer_list>
#include <istream>
#include <ostream>
#include <streambuf>
#include <string>

namespace qrv {
namespace {

constexpr char kLineEnd[] = "\r\n";
// Empty lines would vanish between tokens, so an empty title is written as this mark.
constexpr std::string_view kEmptyTitleMark = "s";
// Bytes of a title token kept; the rest is skipped. Far more than a slot holds, and
// enough to see where a double-byte character at the cut ends.
constexpr std::size_t kTokenKeepBytes = 199;

using Traits = std::char_traits<char>;

bool IsDigit(Traits::int_type c) {
  return c >= '0' && c <= '9';
}

// Calls number() for every numeric field and title() for every title line, in file
// order. Shared by reader and writer so the two cannot drift apart.
template <typename Config, typename NumberFn, typename TitleFn>
void VisitSavedFields(Config& config, NumberFn number, TitleFn title) {
  for (auto* table : {&config.char_colour, &config.border_colour, &config.blink}) {
    for (auto& page : *table) {
      for (auto& value : page) number(value);
    }
  }
  for (auto* table : {&config.char_level, &config.display_time, &config.fill_mask}) {
    for (auto& value : *table) number(value);
  }
  for (auto* value :
       {&config.position_h, &config.position_v, &config.current_page, &config.display_page_auto}) {
    number(*value);
  }
  for (int p = 0; p < kPages; ++p) {
    for (int l = 0; l < kLines; ++l) title(p, l);
  }
}

void AppendTitle(std::string& text, std::string_view title) {
  // White space would split the title into two words and shift every later one.
  text += title.empty() ? std::string(kEmptyTitleMark) : StoredTitle(title);
}

// Reads the file the way fscanf("%d") and fscanf("%s") did, straight from the stream
// buffer, each byte once.
class FileScanner {
 public:
  explicit FileScanner(std::istream& in) : buf_(in.good() ? in.rdbuf() : nullptr) {}

  // Leaves the field alone when no number starts here, and then consumes nothing, so
  // every later number fails at the same place and the titles start there. Returns
  // whether a number was read.
  bool ReadNumber(std::int32_t& field) {
    SkipSpace();
    const Traits::int_type first = Peek();
    const bool sign = first == '+' || first == '-';
    if (sign) {
      Bump();
      if (!IsDigit(Peek())) {
        pending_ = first;
        return false;
      }
    } else if (!IsDigit(first)) {
      return false;
    }
    // Stops growing once past the int32 range, so any run of digits is fine.
    constexpr std::int64_t kLimit = std::int64_t{1} << 31;
    std::int64_t value = 0;
    for (Traits::int_type c = Peek(); IsDigit(c); c = Peek()) {
      if (value <= kLimit) value = value * 10 + (c - '0');
      Bump();
    }
    if (first == '-') {
      field = static_cast<std::int32_t>(value >= kLimit ? -kLimit : -value);
    } else {
      field = static_cast<std::int32_t>(value >= kLimit ? kLimit - 1 : value);
    }
    return true;
  }

  bool AtEnd() {
    SkipSpace();
    return Peek() == Traits::eof();
  }

  // The next white-space-delimited token, at most kTokenKeepBytes of it; empty at the
  // end of the file.
  std::string ReadToken() {
    SkipSpace();
    std::string token;
    for (Traits::int_type c = Peek(); c != Traits::eof() && !IsFileSpace(c); c = Peek()) {
      if (token.size() < kTokenKeepBytes) token += Traits::to_char_type(c);
      Bump();
    }
    return token;
  }

 private:
  Traits::int_type Peek() {
    if (pending_ != Traits::eof()) return pending_;
    return buf_ ? buf_->sgetc() : Traits::eof();
  }
  void Bump() {
    if (pending_ != Traits::eof()) {
      pending_ = Traits::eof();
    } else if (buf_) {
      buf_->sbumpc();
    }
  }
  void SkipSpace() {
    while (IsFileSpace(Peek())) Bump();
  }

  std::streambuf* buf_;
  // A sign read ahead that turned out not to start a number; stream buffers do not all
  // promise that it can be put back.
  Traits::int_type pending_ = Traits::eof();
};

}  // namespace

bool WriteConfigFile(std::ostream& out, const DisplayConfig& config) {
  std::string text;
  text.reserve(8192);
  VisitSavedFields(
      config,
      [&](std::int32_t value) {
        text += std::to_string(value);
        text += kLineEnd;
      },
      [&](int p, int l) {
        AppendTitle(text, config.title(p, l));
        text += kLineEnd;
      });
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.flush();
  return out.good();
}

ConfigFileExtent ReadConfigFile(std::istream& in, DisplayConfig& config) {
  FileScanner scanner(in);
  ConfigFileExtent extent;
  bool counting = true;  // until the first value missing
  const auto count = [&](bool read) {
    if (counting && read) ++extent.lines;
    if (counting && !read) extent.ended = scanner.AtEnd();
    counting = counting && read;
  };
  VisitSavedFields(
      config, [&](std::int32_t& field) { count(scanner.ReadNumber(field)); },
      [&](int p, int l) {
        const std::string token = scanner.ReadToken();
        count(!token.empty());
        // The title was a C string: a NUL byte in the file ends it.
        config.set_title(p, l, std::string_view(token.c_str()));
        if (config.title(p, l) == kEmptyTitleMark) config.set_title(p, l, {});
      });
  config.modified = 0;
  return extent;
}

bool ContainsDatTag(std::string_view name) {
  return name.find(".dat", 1) != std::string_view::npos;
}

}  // namespace qrv
