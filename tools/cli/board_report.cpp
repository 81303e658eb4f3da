#include "board_report.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "text_format.h"
#include "translation.h"

namespace qrv {
namespace {

// A JSON string: quotes, backslashes and control bytes escaped; UTF-8 as it is.
std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", byte);
      out += escape;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

}  // namespace

bool BoardReport::Open(const std::string& path, std::string* why) {
  if (path.empty()) return true;
  file_.open(path, std::ios::binary | std::ios::trunc);
  if (file_) return true;
  *why = Format(Tr("cannot write the report {1}: {2}"), {path, std::strerror(errno)});
  return false;
}

std::string BoardReport::Json(const BoardReportLine& line) {
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.3f", line.seconds);
  std::string json = "{\"port\":" + Quoted(line.port) + ",\"ok\":" + (line.ok ? "true" : "false") +
                     ",\"frames\":" + std::to_string(line.frames) + ",\"seconds\":" + seconds +
                     ",\"error\":" + (line.error.empty() ? "null" : Quoted(line.error));
  if (line.verify)
    json += ",\"differences\":" +
            (line.differences < 0 ? std::string("null") : std::to_string(line.differences));
  return json + "}";
}

void BoardReport::Write(const BoardReportLine& line) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!file_.is_open()) return;
  file_ << Json(line) << "\n";
  file_.flush();
}

}  // namespace qrv
