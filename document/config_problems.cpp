#include "config_problems.h"

#include <tuple>

namespace qrv {

std::string DescribeValue(std::string_view field, int page, int line, std::int32_t value) {
  std::string text;
  if (page >= 0) text += "page " + std::to_string(page + 1) + " ";
  if (line >= 0) text += "line " + std::to_string(line + 1) + " ";
  text += field;
  return text + " " + std::to_string(value);
}

std::string ValueMisfit(std::string_view field, int page, int line, std::int32_t value,
                        ValueRange range) {
  if (range.Holds(value)) return {};
  return DescribeValue(field, page, line, value) + " (" + std::to_string(range.first) + ".." +
         std::to_string(range.last) + ")";
}

std::vector<std::string> ConfigProblems(const DisplayConfig& config,
                                        const ConfigFileExtent& extent) {
  std::vector<std::string> problems;
  const std::string of = " of " + std::to_string(kConfigFileLines);
  if (extent.lines == 0 && extent.ended) {
    problems.push_back("the file is empty");
  } else if (extent.ended) {
    problems.push_back("ends at line " + std::to_string(extent.lines) + of);
  } else if (!extent.complete()) {
    problems.push_back("line " + std::to_string(extent.lines + 1) + of + " is not a number");
  }
  const auto check = [&](std::string_view field, int page, int line, std::int32_t value,
                         ValueRange range) {
    std::string misfit = ValueMisfit(field, page, line, value, range);
    if (!misfit.empty()) problems.push_back(std::move(misfit));
  };
  // In file order, so the list reads as the file does.
  const std::tuple<const char*, const PerLine<std::int32_t>*, ValueRange> line_fields[] = {
      {"character colour", &config.char_colour, kColourRange},
      {"border colour", &config.border_colour, kColourRange},
      {"blink", &config.blink, kBlinkRange}};
  for (const auto& [field, table, range] : line_fields) {
    for (int p = 0; p < kPages; ++p) {
      for (int l = 0; l < kLines; ++l) check(field, p, l, (*table)[p][l], range);
    }
  }
  const std::tuple<const char*, const PerPage<std::int32_t>*, ValueRange> page_fields[] = {
      {"character level", &config.char_level, kCharLevelRange},
      {"display time", &config.display_time, kDisplayTimeRange},
      {"fill", &config.fill_mask, kFillMaskRange}};
  for (const auto& [field, table, range] : page_fields) {
    for (int p = 0; p < kPages; ++p) check(field, p, -1, (*table)[p], range);
  }
  check("horizontal position", -1, -1, config.position_h, kPositionRange);
  check("vertical position", -1, -1, config.position_v, kPositionRange);
  check("current page", -1, -1, config.current_page, kCurrentPageRange);
  check("Auto", -1, -1, config.display_page_auto, kAutoFlagRange);
  return problems;
}

}  // namespace qrv
