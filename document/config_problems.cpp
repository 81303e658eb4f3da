#include "config_problems.h"

#include <tuple>

#include "text_format.h"
#include "translation.h"

namespace qrv {

std::string DescribeValue(const char* field, int page, int line, std::int32_t value) {
  const std::string number = std::to_string(value);
  if (page < 0) return Format(Tr("{1} {2}"), {Tr(field), number});
  const std::string page_number = std::to_string(page + 1);
  if (line < 0) return Format(Tr("page {1} {2} {3}"), {page_number, Tr(field), number});
  return Format(Tr("page {1} line {2} {3} {4}"),
                {page_number, std::to_string(line + 1), Tr(field), number});
}

std::string ValueMisfit(const char* field, int page, int line, std::int32_t value,
                        ValueRange range) {
  if (range.Holds(value)) return {};
  return DescribeValue(field, page, line, value) + " (" + std::to_string(range.first) + ".." +
         std::to_string(range.last) + ")";
}

std::vector<std::string> ConfigProblems(const DisplayConfig& config,
                                        const ConfigFileExtent& extent) {
  std::vector<std::string> problems;
  const std::string of = std::to_string(kConfigFileLines);
  if (extent.lines == 0 && extent.ended) {
    problems.push_back(Tr("the file is empty"));
  } else if (extent.ended) {
    problems.push_back(Format(Tr("ends at line {1} of {2}"), {std::to_string(extent.lines), of}));
  } else if (!extent.complete()) {
    problems.push_back(
        Format(Tr("line {1} of {2} is not a number"), {std::to_string(extent.lines + 1), of}));
  }
  const auto check = [&](const char* field, int page, int line, std::int32_t value,
                         ValueRange range) {
    std::string misfit = ValueMisfit(field, page, line, value, range);
    if (!misfit.empty()) problems.push_back(std::move(misfit));
  };
  // In file order, so the list reads as the file does.
  const std::tuple<const char*, const PerLine<std::int32_t>*, ValueRange> line_fields[] = {
      {QRV_TEXT("character colour"), &config.char_colour, kColourRange},
      {QRV_TEXT("border colour"), &config.border_colour, kColourRange},
      {QRV_TEXT("blink"), &config.blink, kBlinkRange}};
  for (const auto& [field, table, range] : line_fields) {
    for (int p = 0; p < kPages; ++p) {
      for (int l = 0; l < kLines; ++l) check(field, p, l, (*table)[p][l], range);
    }
  }
  const std::tuple<const char*, const PerPage<std::int32_t>*, ValueRange> page_fields[] = {
      {QRV_TEXT("character level"), &config.char_level, kCharLevelRange},
      {QRV_TEXT("display time"), &config.display_time, kDisplayTimeRange},
      {QRV_TEXT("fill"), &config.fill_mask, kFillMaskRange}};
  for (const auto& [field, table, range] : page_fields) {
    for (int p = 0; p < kPages; ++p) check(field, p, -1, (*table)[p], range);
  }
  check(QRV_TEXT("horizontal position"), -1, -1, config.position_h, kPositionRange);
  check(QRV_TEXT("vertical position"), -1, -1, config.position_v, kPositionRange);
  check(QRV_TEXT("current page"), -1, -1, config.current_page, kCurrentPageRange);
  check(QRV_TEXT("Auto"), -1, -1, config.display_page_auto, kAutoFlagRange);
  return problems;
}

}  // namespace qrv
