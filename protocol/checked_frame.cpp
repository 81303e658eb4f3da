#include "checked_frame.h"

#include "config_problems.h"
#include "messages.h"

namespace qrv {
namespace {

constexpr int kOneDigit = 9;
constexpr int kTwoDigits = 99;

std::string Misfit(const char* field, int page, int line, std::int32_t value, int high) {
  return value >= 0 && value <= high ? std::string() : DescribeValue(field, page, line, value);
}

// The frame build makes, unless misfit names a value it cannot carry.
template <typename Build>
CheckedFrame Fitting(std::string misfit, Build build) {
  CheckedFrame checked;
  if (misfit.empty()) {
    checked.frame = build();
  } else {
    checked.refusal = FrameRefusal::kValue;
    checked.misfit = std::move(misfit);
  }
  return checked;
}

}  // namespace

CheckedFrame CheckedTitleFrame(const DisplayConfig& config, int page, bool store) {
  CheckedFrame checked;
  checked.frame = BuildTitleFrame(config, page, store, &checked.title);
  if (!checked.frame) checked.refusal = FrameRefusal::kTitle;
  return checked;
}

CheckedFrame CheckedPageColourFrame(const DisplayConfig& config, int page) {
  const int blank = FirstBlankColourLine(config, page);
  if (blank >= 0) {
    CheckedFrame checked;
    checked.refusal = FrameRefusal::kColour;
    checked.colour_line = blank;
    return checked;
  }
  std::string misfit;
  for (int l = 0; l < kLines && misfit.empty(); ++l) {
    misfit = Misfit("character colour", page, l, config.char_colour[page][l], kOneDigit);
    if (misfit.empty())
      misfit = Misfit("border colour", page, l, config.border_colour[page][l], kOneDigit);
  }
  return Fitting(misfit, [&] { return PageColourFrame(config, page); });
}

CheckedFrame CheckedPageBlinkFrame(const DisplayConfig& config, int page) {
  std::string misfit;
  for (int l = 0; l < kLines && misfit.empty(); ++l)
    misfit = Misfit("blink", page, l, config.blink[page][l], kOneDigit);
  return Fitting(misfit, [&] { return PageBlinkFrame(config, page); });
}

CheckedFrame CheckedDisplayPageFrame(const DisplayConfig& config) {
  const std::string misfit = config.display_page_auto != 0
                                 ? std::string()
                                 : Misfit("current page", -1, -1, config.current_page, kPages - 1);
  return Fitting(misfit, [&] { return DisplayPageFrame(config); });
}

CheckedFrame CheckedDisplayTimeFrame(const DisplayConfig& config) {
  std::string misfit;
  for (int p = 0; p < kPages && misfit.empty(); ++p)
    misfit = Misfit("display time", p, -1, config.display_time[p], kTwoDigits);
  return Fitting(misfit, [&] { return DisplayTimeFrame(config); });
}

CheckedFrame CheckedPositionHFrame(const DisplayConfig& config) {
  return Fitting(Misfit("horizontal position", -1, -1, config.position_h, kTwoDigits),
                 [&] { return PositionHFrame(config); });
}

CheckedFrame CheckedPositionVFrame(const DisplayConfig& config) {
  return Fitting(Misfit("vertical position", -1, -1, config.position_v, kTwoDigits),
                 [&] { return PositionVFrame(config); });
}

CheckedFrame Unchecked(Frame frame) {
  CheckedFrame checked;
  checked.frame = std::move(frame);
  return checked;
}

std::string RefusalMessage(const CheckedFrame& checked) {
  switch (checked.refusal) {
    case FrameRefusal::kTitle:
      return msg::kTitleRefused;
    case FrameRefusal::kColour:
      return msg::kCantSetColour;
    case FrameRefusal::kValue:
      return std::string(msg::kCantSetColour) + ": " + checked.misfit;
    case FrameRefusal::kNone:
      break;
  }
  return {};
}

}  // namespace qrv
