#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "display_config.h"

namespace qrv {

// The columns of the CSV form, in their order; each row is one line of one page.
constexpr std::array<std::string_view, 9> kCsvColumns = {
    "page",  "line", "text",         "char_colour", "border_colour",
    "blink", "fill", "display_time", "char_level"};

// The first line of the CSV form: the columns' names, comma-separated.
std::string CsvHeader();

// The titles, colours, blink and fill of every line and the display time and character
// level of every page as CSV: the header, then 224 rows from page 1 line 1 to page 32
// line 7, in UTF-8 with a byte-order mark and CR LF line ends, so that a spreadsheet opens
// it as it is. Title bytes that are no character become U+FFFD; a value no dialog offers
// is written as its number.
std::string WriteConfigCsv(const DisplayConfig& config);

// The CSV line each page line was read from (page * 7 + line), for what is said about it.
using CsvRowLines = std::array<int, kPages * kLines>;

// Reads such a CSV (UTF-8 with or without the mark, or code page 932) over the titles,
// colours, blink, fill, display times and character levels of config; every other field
// stays. A title whose text is the one config holds keeps its bytes, as an unedited line
// does; any other is stored as a line is (StoredTitle). Empty fields after the last column
// are a spreadsheet's leftovers and are passed over. The whole CSV is checked first, and
// taken only when it is sound; otherwise config is untouched and each problem is one line
// naming the CSV line and column. rows, when given, gets the CSV line of every row taken.
std::vector<std::string> ReadConfigCsv(std::string_view bytes, DisplayConfig& config,
                                       CsvRowLines* rows = nullptr);

}  // namespace qrv
