#include "frames.h"

#include <cassert>

#include "frame_encoding.h"

namespace qrv {
namespace {

constexpr char kEnd[] = "\r\n";

void AppendPageNumber(Frame& f, int page) {
  assert(page >= 0 && page < kPages);
  AppendTwoDigits(f, page + 1);
}

Frame PageFrame(const char* head, int page, const char* tag) {
  Frame f = head;
  AppendPageNumber(f, page);
  f += tag;
  return f;
}

}  // namespace

Frame PageBlinkFrame(const DisplayConfig& config, int page) {
  Frame f = PageFrame("P", page, "BDLT");
  for (int l = 0; l < kLines; ++l) f += DecimalDigit(config.blink[page][l]);
  return f + kEnd;
}

Frame PageColourFrame(const DisplayConfig& config, int page) {
  Frame f = PageFrame("P", page, "ICLT");
  for (int l = 0; l < kLines; ++l) {
    f += DecimalDigit(config.char_colour[page][l]);
    f += DecimalDigit(config.border_colour[page][l]);
  }
  return f + kEnd;
}

int FirstBlankColourLine(const DisplayConfig& config, int page) {
  for (int l = 0; l < kLines; ++l) {
    if (config.char_colour[page][l] == kColourBlank &&
        config.border_colour[page][l] == kColourBlank)
      return l;
  }
  return -1;
}

Frame PageFillFrame(const DisplayConfig& config, int page) {
  Frame f = PageFrame("P", page, "FBLT");
  AppendHexByte(f, config.fill_mask[page]);
  return f + kEnd;
}

Frame AllFillFrame(const DisplayConfig& config) {
  Frame f = "PTFB";
  for (int p = 0; p < kPages; ++p) AppendHexByte(f, config.fill_mask[p]);
  return f + kEnd;
}

Frame DisplayTimeFrame(const DisplayConfig& config) {
  Frame f = "PTCT";
  for (int p = 0; p < kPages; ++p) AppendTwoDigits(f, config.display_time[p]);
  return f + kEnd;
}

Frame CharLevelFrame(const DisplayConfig& config) {
  Frame f = "PTWL";
  for (int p = 0; p < kPages; ++p) f += config.char_level[p] != 0 ? 'H' : 'L';
  return f + kEnd;
}

Frame PositionHFrame(const DisplayConfig& config) {
  Frame f = "PH";
  AppendTwoDigits(f, config.position_h);
  return f + kEnd;
}

Frame PositionVFrame(const DisplayConfig& config) {
  Frame f = "PV";
  AppendTwoDigits(f, config.position_v);
  return f + kEnd;
}

Frame DisplayPageFrame(const DisplayConfig& config) {
  Frame f = "P";
  if (config.display_page_auto != 0) {
    f += "AS";
  } else {
    AppendTwoDigits(f, config.current_page + 1);
  }
  return f + kEnd;
}

Frame DisplayOnOffFrame(const DisplayConfig& config) {
  return config.display_on != 0 ? "IDON\r\n" : "IDOF\r\n";
}

Frame ReadTitleRequest(int page) {
  return PageFrame("RCA", page, kEnd);
}
Frame ReadBlinkRequest(int page) {
  return PageFrame("RP", page, "BDLT\r\n");
}
Frame ReadColourRequest(int page) {
  return PageFrame("RP", page, "ICLT\r\n");
}
Frame ReadDisplayPageRequest() {
  return "RP\r\n";
}
Frame ReadDisplayTimeRequest() {
  return "RPTCT\r\n";
}
Frame ReadFillRequest() {
  return "RPTFB\r\n";
}
Frame ReadCharLevelRequest() {
  return "RPTWL\r\n";
}
Frame ReadPositionHRequest() {
  return "RPH\r\n";
}
Frame ReadPositionVRequest() {
  return "RPV\r\n";
}

}  // namespace qrv
