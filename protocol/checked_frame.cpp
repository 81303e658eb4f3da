#include "checked_frame.h"

#include "config_problems.h"
#include "messages.h"
#include "translation.h"
#include "value_range.h"

namespace qrv {
namespace {

// The page a frame shows: its number has two digits and the board has no page 33.
constexpr ValueRange kShownPage{0, kPages - 1};

// The frame build makes, unless misfit names a value it does not take.
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

// The first value of a field of every line of page that does not fit, or empty.
std::string LineMisfit(const char* field, const PerLine<std::int32_t>& table, int page,
                       ValueRange range) {
  std::string misfit;
  for (int l = 0; l < kLines && misfit.empty(); ++l)
    misfit = ValueMisfit(field, page, l, table[page][l], range);
  return misfit;
}

// The same for a field of every page.
std::string PageMisfit(const char* field, const PerPage<std::int32_t>& table, ValueRange range) {
  std::string misfit;
  for (int p = 0; p < kPages && misfit.empty(); ++p)
    misfit = ValueMisfit(field, p, -1, table[p], range);
  return misfit;
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
  std::string misfit =
      LineMisfit(QRV_TEXT("character colour"), config.char_colour, page, kColourRange);
  if (misfit.empty())
    misfit = LineMisfit(QRV_TEXT("border colour"), config.border_colour, page, kColourRange);
  return Fitting(misfit, [&] { return PageColourFrame(config, page); });
}

CheckedFrame CheckedPageBlinkFrame(const DisplayConfig& config, int page) {
  return Fitting(LineMisfit(QRV_TEXT("blink"), config.blink, page, kBlinkRange),
                 [&] { return PageBlinkFrame(config, page); });
}

CheckedFrame CheckedPageFillFrame(const DisplayConfig& config, int page) {
  return Fitting(ValueMisfit(QRV_TEXT("fill"), page, -1, config.fill_mask[page], kFillMaskRange),
                 [&] { return PageFillFrame(config, page); });
}

CheckedFrame CheckedAllFillFrame(const DisplayConfig& config) {
  return Fitting(PageMisfit(QRV_TEXT("fill"), config.fill_mask, kFillMaskRange),
                 [&] { return AllFillFrame(config); });
}

CheckedFrame CheckedCharLevelFrame(const DisplayConfig& config) {
  return Fitting(PageMisfit(QRV_TEXT("character level"), config.char_level, kCharLevelRange),
                 [&] { return CharLevelFrame(config); });
}

CheckedFrame CheckedDisplayPageFrame(const DisplayConfig& config) {
  const std::string misfit =
      config.display_page_auto != 0
          ? std::string()
          : ValueMisfit(QRV_TEXT("current page"), -1, -1, config.current_page, kShownPage);
  return Fitting(misfit, [&] { return DisplayPageFrame(config); });
}

CheckedFrame CheckedDisplayOnOffFrame(const DisplayConfig& config) {
  return Fitting(ValueMisfit(QRV_TEXT("display on"), -1, -1, config.display_on, {0, 1}),
                 [&] { return DisplayOnOffFrame(config); });
}

CheckedFrame CheckedDisplayTimeFrame(const DisplayConfig& config) {
  return Fitting(PageMisfit(QRV_TEXT("display time"), config.display_time, kDisplayTimeRange),
                 [&] { return DisplayTimeFrame(config); });
}

CheckedFrame CheckedPositionHFrame(const DisplayConfig& config) {
  return Fitting(
      ValueMisfit(QRV_TEXT("horizontal position"), -1, -1, config.position_h, kPositionRange),
      [&] { return PositionHFrame(config); });
}

CheckedFrame CheckedPositionVFrame(const DisplayConfig& config) {
  return Fitting(
      ValueMisfit(QRV_TEXT("vertical position"), -1, -1, config.position_v, kPositionRange),
      [&] { return PositionVFrame(config); });
}

std::string RefusalMessage(const CheckedFrame& checked) {
  switch (checked.refusal) {
    case FrameRefusal::kTitle:
      return msg::kTitleRefused;
    case FrameRefusal::kColour:
      return msg::kCantSetColour;
    case FrameRefusal::kValue:
      return msg::kValueNotSent + checked.misfit;
    case FrameRefusal::kNone:
      break;
  }
  return {};
}

}  // namespace qrv
