#include "serial_settings.h"

#include <cstdlib>
#include <optional>
#include <vector>

#include "config_files.h"
#include "settings_file.h"

namespace qrv {
namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);
// The settings dialog reads numbers through a 10-byte buffer.
constexpr std::size_t kNumberChars = 9;

struct Line {
  std::size_t begin;  // first byte
  std::size_t end;    // the LF, or the end of the text
  bool has_lf;
};

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t lf = text.find('\n', pos);
    if (lf == std::string_view::npos) {
      lines.push_back({pos, text.size(), false});
      break;
    }
    lines.push_back({pos, lf, true});
    pos = lf + 1;
  }
  // A UTF-8 mark would otherwise hide the first section header.
  if (!lines.empty() && text.substr(0, 3) == "\xEF\xBB\xBF") lines[0].begin += 3;
  return lines;
}

// CR is blank too, which also drops it from CR LF line ends. An all-blank string trims to
// the empty string at its start, where a new value is written.
std::string_view Trim(std::string_view s) {
  constexpr char kBlanks[] = " \t\r";
  const std::size_t first = s.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return s.substr(0, 0);
  return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line[0] != '[') return std::nullopt;
  const std::size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

struct Lookup {
  std::size_t section = kNone;            // line of the section header
  std::size_t last = kNone;               // last non-blank line of the section
  std::size_t line = kNone;               // the key's line
  std::optional<std::string_view> value;  // trimmed, quotes still on; a view into the text
};

Lookup Find(std::string_view text, const std::vector<Line>& lines, std::string_view key) {
  Lookup r;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = text.substr(lines[i].begin, lines[i].end - lines[i].begin);
    if (const auto name = SectionName(line)) {
      if (r.section != kNone) break;  // only the first matching section counts
      if (EqualsNoCase(*name, kSettingsSection)) r.section = r.last = i;
      continue;
    }
    if (r.section == kNone || Trim(line).empty()) continue;
    r.last = i;
    const std::size_t eq = line.find('=');
    if (!r.value && eq != std::string_view::npos && EqualsNoCase(Trim(line.substr(0, eq)), key)) {
      r.value = Trim(line.substr(eq + 1));
      r.line = i;
    }
  }
  return r;
}

std::string_view Unquote(std::string_view v) {
  if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]) {
    return v.substr(1, v.size() - 2);
  }
  return v;
}

// Nine characters cannot overflow an int, so atoi is safe here.
std::int32_t ReadNumber(std::string_view text, const std::vector<Line>& lines,
                        std::string_view key) {
  const auto value = Find(text, lines, key).value;
  if (!value) return 0;
  return std::atoi(std::string(Unquote(*value).substr(0, kNumberChars)).c_str());
}

// The text with key set to value, or without the key's line when there is no value.
std::string WithSetting(const std::string& text, std::string_view key,
                        const std::optional<std::string_view>& value) {
  const std::vector<Line> lines = SplitLines(text);
  const Lookup found = Find(text, lines, key);
  if (!value) {
    if (found.line == kNone) return text;
    const Line& line = lines[found.line];
    return std::string(text).erase(line.begin, line.end + (line.has_lf ? 1 : 0) - line.begin);
  }
  const bool crlf =
      !lines.empty() && lines[0].has_lf && lines[0].end > 0 && text[lines[0].end - 1] == '\r';
  const std::string eol = crlf ? "\r\n" : "\n";
  const std::string entry = std::string(key) + "=" + std::string(*value) + eol;
  std::string out = text;
  if (found.value) {
    out.replace(static_cast<std::size_t>(found.value->data() - text.data()), found.value->size(),
                *value);
  } else if (found.section != kNone) {
    const Line& last = lines[found.last];
    out.insert(last.has_lf ? last.end + 1 : last.end, (last.has_lf ? "" : eol) + entry);
  } else {
    if (!lines.empty()) {
      const Line& tail = lines.back();
      if (!tail.has_lf) out += eol;
      // A blank line keeps the new section apart from the one before it.
      if (!Trim(std::string_view(text).substr(tail.begin, tail.end - tail.begin)).empty()) {
        out += eol;
      }
    }
    out += std::string("[") + kSettingsSection + "]" + eol + entry;
  }
  return out;
}

}  // namespace

SerialSettings ReadSerialSettings(const std::string& path) {
  std::string text;
  if (ReadSettingsFile(path, &text) != SettingsRead::kOk) text.clear();
  const std::vector<Line> lines = SplitLines(text);
  SerialSettings s;
  s.com_control = ReadNumber(text, lines, "com_control");
  s.com_port = ReadNumber(text, lines, "com_port");
  s.answer_pace = ReadNumber(text, lines, "answer_pace");
  if (const auto device = Find(text, lines, "com_device").value) {
    s.com_device = std::string(Unquote(*device));
  }
  if (const auto where = Find(text, lines, "preview_window").value) {
    s.preview_window = std::string(Unquote(*where));
  }
  if (const auto folder = Find(text, lines, "file_folder").value) {
    s.file_folder = std::string(Unquote(*folder));
  }
  return s;
}

bool WriteSerialSetting(const std::string& path, std::string_view key, std::int32_t value) {
  return WriteSerialSettingText(path, key, std::to_string(value));
}

bool WriteSerialSettingText(const std::string& path, std::string_view key,
                            const std::optional<std::string_view>& value) {
  if (path.empty() || key.empty() || Trim(key) != key ||
      key.find_first_of("=[\r\n") != std::string_view::npos ||
      (value &&
       (Trim(*value) != *value || value->find_first_of("\r\n") != std::string_view::npos))) {
    return false;
  }
  std::string text;
  const SettingsRead read = ReadSettingsFile(path, &text);
  if (read == SettingsRead::kFailed) return false;
  if (read == SettingsRead::kMissing && !MakeSettingsFolders(path)) return false;
  // Whole or not at all, as every file the program writes.
  return SaveFileBytes(path, WithSetting(text, key, value), nullptr);
}

}  // namespace qrv
