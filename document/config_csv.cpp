#include "config_csv.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cstdio>
#include <optional>

#include "cp932_utf8.h"
#include "csv_table.h"
#include "text_format.h"
#include "translation.h"
#include "value_range.h"

namespace qrv {
namespace {

enum Column : int {
  kPageColumn,
  kLineColumn,
  kTextColumn,
  kCharColourColumn,
  kBorderColourColumn,
  kBlinkColumn,
  kFillColumn,
  kTimeColumn,
  kLevelColumn,
  kColumns
};
static_assert(kCsvColumns.size() == kColumns);

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr char kLineEnd[] = "\r\n";
constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD
// The character level dialog's words, index = level.
constexpr ValueRange kPageNumbers{1, kPages};
constexpr ValueRange kLineNumbers{1, kLines};
constexpr ValueRange kFillBit{0, 1};
// A column with more numbers than this that are not whole is named once, not row by row.
constexpr std::size_t kFractionsNamed = 3;

std::string TitleText(std::string_view bytes) {
  return Utf8FromCp932(bytes, [](unsigned char) { return std::string(kReplacement); });
}

std::string ColourWord(std::int32_t colour) {
  return kColourRange.Holds(colour) ? std::string(kColourNames[colour]) : std::to_string(colour);
}

std::string LevelWord(std::int32_t level) {
  return kCharLevelRange.Holds(level) ? std::string(kLevelNames[level]) : std::to_string(level);
}

// "黒 赤 … ブランク".
std::string ColourList() {
  std::string list;
  for (const std::string_view name : kColourNames)
    list += (list.empty() ? "" : " ") + std::string(name);
  return list;
}

std::string RangeText(ValueRange range) {
  return std::to_string(range.first) + ".." + std::to_string(range.last);
}

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

// A whole number of the range, digits only.
std::optional<std::int32_t> Number(std::string_view field, ValueRange range) {
  std::int32_t value = 0;
  const char* end = field.data() + field.size();
  const auto [stop, fault] = std::from_chars(field.data(), end, value);
  if (field.empty() || field[0] == '-' || fault != std::errc() || stop != end ||
      !range.Holds(value))
    return std::nullopt;
  return value;
}

// A number with a decimal point, as a spreadsheet writes 5 in a cell formatted "0.0".
bool HasFraction(std::string_view field) {
  const std::size_t point = field.find('.');
  return point != std::string_view::npos && field.size() > 1 &&
         field.find_first_not_of("0123456789", point + 1) == std::string_view::npos &&
         field.substr(0, point).find_first_not_of("0123456789") == std::string_view::npos;
}

// A word of the list (index = value), or the value's number.
template <std::size_t N>
std::optional<std::int32_t> Named(std::string_view field,
                                  const std::array<std::string_view, N>& words) {
  for (std::size_t i = 0; i < N; ++i) {
    if (field == words[i]) return static_cast<std::int32_t>(i);
  }
  return Number(field, {0, static_cast<int>(N) - 1});
}

std::string Shown(char32_t character) {
  if (character < 0x20 || character == 0x7F) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(character));
    return code;
  }
  return Quoted(Utf8FromCodePoint(character));
}

// What one row sets, once its fields are found sound.
struct RowValues {
  std::string title;
  std::int32_t char_colour = 0, border_colour = 0, blink = 0, fill = 0;
};

// Collects the problems of a CSV, each with the line it is on, and what a sound CSV sets.
class CsvReader {
 public:
  explicit CsvReader(const DisplayConfig& config) : config_(config) {}

  void Decode(std::string_view bytes, std::string& text);
  void Header(const CsvRow& row);
  void Row(const CsvRow& row);
  void Missing();
  // The numbers that are not whole, named once for a column that is full of them.
  void Fractions();
  std::vector<std::string> Problems();
  void Apply(DisplayConfig& config, CsvRowLines* rows) const;

  void Problem(int line, int column, const std::string& what) {
    const std::string number = std::to_string(line);
    if (column < 0) {
      problems_.push_back({line, Format(Tr("line {1}: {2}"), {number, what})});
      return;
    }
    const std::string name =
        column < kColumns ? std::string(kCsvColumns[column]) : std::to_string(column + 1);
    problems_.push_back({line, Format(Tr("line {1} column {2}: {3}"), {number, name, what})});
  }

 private:
  // The value the first row of a page gave a page-wide setting, and that row's line.
  struct PageValue {
    int line = 0;
    std::int32_t value = 0;
  };

  void Title(const CsvRow& row, int index, RowValues& values);
  // A field that is not what its column holds: a number with a fraction is kept to be told
  // with the others of its column.
  void NotA(const CsvRow& row, int column, std::string_view field, const std::string& what);
  void PageWide(const CsvRow& row, int column, int page, std::optional<std::int32_t> value,
                std::array<PageValue, kPages>& first, std::string (*word)(std::int32_t));

  const DisplayConfig& config_;
  std::vector<std::pair<int, std::string>> problems_;
  std::array<int, kPages * kLines> row_line_{};  // the line of each page line's row, 0 for none
  std::array<RowValues, kPages * kLines> rows_{};
  std::array<PageValue, kPages> time_{}, level_{};
  std::array<std::vector<std::pair<int, std::string>>, kColumns> fractions_{};
};

void CsvReader::NotA(const CsvRow& row, int column, std::string_view field,
                     const std::string& what) {
  if (HasFraction(field)) {
    fractions_[column].emplace_back(row.line, field);
  } else {
    Problem(row.line, column, Format(Tr("{1} is not {2}"), {Quoted(field), what}));
  }
}

void CsvReader::Fractions() {
  for (int column = 0; column < kColumns; ++column) {
    const auto& found = fractions_[column];
    if (found.empty()) continue;
    if (found.size() <= kFractionsNamed) {
      for (const auto& [line, field] : found)
        Problem(line, column, Format(Tr("{1} is not a whole number"), {Quoted(field)}));
      continue;
    }
    std::string named;
    for (std::size_t i = 0; i < kFractionsNamed; ++i) {
      named +=
          Format(Tr("line {1} {2}"), {std::to_string(found[i].first), Quoted(found[i].second)});
      named += ", ";
    }
    problems_.push_back(
        {found.front().first,
         Format(Tr("column {1}: {2} rows hold numbers that are not whole ({3}...); format the "
                   "column's cells as whole numbers"),
                {kCsvColumns[column], std::to_string(found.size()), named})});
  }
}

void CsvReader::Decode(std::string_view bytes, std::string& text) {
  const bool marked = bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark;
  if (marked) bytes.remove_prefix(kByteOrderMark.size());
  std::size_t utf8_fault = 0, cp932_fault = 0;
  if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF") {
    Problem(1, -1, Tr("UTF-16 text; save the CSV as UTF-8 or code page 932 (Shift_JIS)"));
    return;
  }
  if (CodePointsFromUtf8(bytes, &utf8_fault)) {
    text = bytes;
    return;
  }
  if (!marked) {
    if (std::optional<std::string> converted = Utf8FromCp932Text(bytes, &cp932_fault)) {
      text = std::move(*converted);
      return;
    }
  }
  // Each encoding fits the bytes up to its own first fault; the later one is where the text
  // stops being either.
  const std::string_view good = bytes.substr(0, std::max(utf8_fault, cp932_fault));
  Problem(static_cast<int>(std::count(good.begin(), good.end(), '\n')) + 1, -1,
          marked ? Tr("not UTF-8, though the file starts with UTF-8's byte-order mark")
                 : Tr("neither UTF-8 nor code page 932 (Shift_JIS)"));
}

void CsvReader::Header(const CsvRow& row) {
  std::size_t matching = 0;
  for (std::size_t i = 0; i < row.fields.size() && i < kColumns; ++i)
    matching += row.fields[i] == kCsvColumns[i];
  if (matching == 0) {
    Problem(row.line, -1, Format(Tr("the first line must be the header {1}"), {CsvHeader()}));
    return;
  }
  for (std::size_t i = 0; i < std::max<std::size_t>(row.fields.size(), kColumns); ++i) {
    const int column = static_cast<int>(i);
    if (i >= row.fields.size()) {
      Problem(row.line, column, Tr("missing from the header"));
    } else if (i >= kColumns) {
      Problem(row.line, column,
              Format(Tr("{1} is not a column of the format"), {Quoted(row.fields[i])}));
    } else if (row.fields[i] != kCsvColumns[i]) {
      Problem(row.line, column, Format(Tr("the header says {1}"), {Quoted(row.fields[i])}));
    }
  }
}

void CsvReader::Row(const CsvRow& row) {
  const auto field = [&](int column) -> std::string_view {
    // A view of the row's own field: a conditional with "" would make a temporary string.
    if (column >= static_cast<int>(row.fields.size())) return {};
    return row.fields[column];
  };
  const auto number = [&](int column, ValueRange range, const std::string& what) {
    const std::optional<std::int32_t> value = Number(field(column), range);
    if (!value) NotA(row, column, field(column), what);
    return value;
  };
  const auto page =
      number(kPageColumn, kPageNumbers, Format(Tr("a page {1}"), {RangeText(kPageNumbers)}));
  const auto line =
      number(kLineColumn, kLineNumbers, Format(Tr("a line {1}"), {RangeText(kLineNumbers)}));
  int index = -1;
  if (page && line) {
    const int at = (*page - 1) * kLines + (*line - 1);
    if (row_line_[at] != 0) {
      Problem(
          row.line, kPageColumn,
          Format(Tr("page {1} line {2} again, as on line {3}"),
                 {std::to_string(*page), std::to_string(*line), std::to_string(row_line_[at])}));
    } else {
      row_line_[at] = row.line;
      index = at;
    }
  }
  // With a column too many or too few the values are not where their names say.
  const int count = static_cast<int>(row.fields.size());
  if (count < kColumns) {
    Problem(row.line, count,
            Format(Tr("missing: the row has {1} of the 9 columns"), {std::to_string(count)}));
    return;
  }
  if (count > kColumns) {
    // A comma in an unquoted text splits it, and the next field is then no colour.
    const bool split_text = !Named(field(kCharColourColumn), kColourNames);
    const std::string columns = std::to_string(count);
    Problem(row.line, kColumns,
            split_text
                ? Format(Tr("the row has {1} columns, not 9 (a text with a comma is "
                            "quoted whole)"),
                         {columns})
                : Format(Tr("the row has {1} columns, not 9: the format has no column "
                            "{2} for {3}"),
                         {columns, std::to_string(kColumns + 1), Quoted(row.fields[kColumns])}));
    return;
  }
  RowValues values;
  Title(row, index, values);
  const auto colour = [&](int column) {
    const std::optional<std::int32_t> value = Named(field(column), kColourNames);
    if (!value)
      NotA(row, column, field(column),
           Format(Tr("a colour ({1}, or {2})"), {ColourList(), RangeText(kColourRange)}));
    return value.value_or(0);
  };
  values.char_colour = colour(kCharColourColumn);
  values.border_colour = colour(kBorderColourColumn);
  values.blink = number(kBlinkColumn, kBlinkRange, RangeText(kBlinkRange)).value_or(0);
  values.fill = number(kFillColumn, kFillBit, Tr("1 or 0")).value_or(0);
  const auto time = number(kTimeColumn, kDisplayTimeRange, RangeText(kDisplayTimeRange));
  const std::optional<std::int32_t> level = Named(field(kLevelColumn), kLevelNames);
  if (!level) NotA(row, kLevelColumn, field(kLevelColumn), Tr("High, Low, 1 or 0"));
  if (page) {
    PageWide(row, kTimeColumn, *page - 1, time, time_,
             [](std::int32_t v) { return std::to_string(v); });
    PageWide(row, kLevelColumn, *page - 1, level, level_, LevelWord);
  }
  if (index >= 0) rows_[index] = std::move(values);
}

void CsvReader::Title(const CsvRow& row, int index, RowValues& values) {
  const std::string& text = row.fields[kTextColumn];
  const int page = index / kLines, line = index % kLines;
  bool widened = false;  // half-width spaces made full-width
  if (index >= 0 && text == TitleText(config_.title(page, line))) {
    values.title = std::string(config_.title(page, line));
  } else {
    const Cp932Encoding encoded = Cp932FromUtf8(text);
    values.title = StoredTitle(encoded.bytes);
    widened = values.title.size() != encoded.bytes.size();
    std::string lacks;
    for (const char32_t c : encoded.refused) {
      // Line breaks are the reading's own problem.
      if (c != U'\r' && c != U'\n') lacks += (lacks.empty() ? "" : " ") + Shown(c);
    }
    if (!lacks.empty()) {
      if (encoded.refused.find(U'\uFFFD') != std::u32string::npos)
        lacks = Format(Tr("{1} (bytes of a .dat file that are no character: take that file as "
                          "the base)"),
                       {lacks});
      Problem(row.line, kTextColumn, Format(Tr("code page 932 lacks {1}"), {lacks}));
    }
  }
  if (values.title.size() > static_cast<std::size_t>(kTitleLineBytes)) {
    const std::string bytes = std::to_string(values.title.size());
    const std::string most = std::to_string(kTitleLineBytes);
    Problem(row.line, kTextColumn,
            widened ? Format(Tr("{1} bytes in code page 932 once its half-width spaces are "
                                "full-width ones, as a line stores them, more than {2}"),
                             {bytes, most})
                    : Format(Tr("{1} bytes in code page 932, more than {2}"), {bytes, most}));
  }
}

void CsvReader::PageWide(const CsvRow& row, int column, int page, std::optional<std::int32_t> value,
                         std::array<PageValue, kPages>& first, std::string (*word)(std::int32_t)) {
  if (!value) return;
  if (first[page].line == 0) {
    first[page] = {row.line, *value};
  } else if (first[page].value != *value) {
    Problem(row.line, column,
            Format(Tr("{1}, but {2} on line {3} of the same page"),
                   {word(*value), word(first[page].value), std::to_string(first[page].line)}));
  }
}

void CsvReader::Missing() {
  const auto name = [](int at) {
    return Format(Tr("page {1} line {2}"),
                  {std::to_string(at / kLines + 1), std::to_string(at % kLines + 1)});
  };
  const int rows = static_cast<int>(row_line_.size());
  for (int at = 0; at < rows; ++at) {
    if (row_line_[at] != 0) continue;
    int last = at;
    while (last + 1 < rows && row_line_[last + 1] == 0) ++last;
    // Missing rows have no line of their own: they come after everything else.
    problems_.push_back(
        {INT_MAX, last == at ? Format(Tr("no row for {1}"), {name(at)})
                             : Format(Tr("no rows for {1} to {2}"), {name(at), name(last)})});
    at = last;
  }
}

std::vector<std::string> CsvReader::Problems() {
  std::stable_sort(problems_.begin(), problems_.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::string> texts;
  for (auto& problem : problems_) texts.push_back(std::move(problem.second));
  return texts;
}

void CsvReader::Apply(DisplayConfig& config, CsvRowLines* rows) const {
  if (rows != nullptr) *rows = row_line_;
  for (int p = 0; p < kPages; ++p) {
    std::int32_t mask = 0;
    for (int l = 0; l < kLines; ++l) {
      const RowValues& row = rows_[p * kLines + l];
      config.set_title(p, l, row.title);
      config.char_colour[p][l] = row.char_colour;
      config.border_colour[p][l] = row.border_colour;
      config.blink[p][l] = row.blink;
      mask |= row.fill << l;
    }
    config.fill_mask[p] = mask;
    config.display_time[p] = time_[p].value;
    config.char_level[p] = level_[p].value;
  }
}

}  // namespace

std::string CsvHeader() {
  std::string header;
  for (const std::string_view column : kCsvColumns)
    header += (header.empty() ? "" : ",") + std::string(column);
  return header;
}

std::string WriteConfigCsv(const DisplayConfig& config) {
  std::string out(kByteOrderMark);
  out += CsvHeader();
  out += kLineEnd;
  for (int p = 0; p < kPages; ++p) {
    for (int l = 0; l < kLines; ++l) {
      const std::string fields[kColumns] = {std::to_string(p + 1),
                                            std::to_string(l + 1),
                                            CsvField(TitleText(config.title(p, l))),
                                            ColourWord(config.char_colour[p][l]),
                                            ColourWord(config.border_colour[p][l]),
                                            std::to_string(config.blink[p][l]),
                                            std::to_string(config.fill(p, l) ? 1 : 0),
                                            std::to_string(config.display_time[p]),
                                            LevelWord(config.char_level[p])};
      for (int c = 0; c < kColumns; ++c) out += (c == 0 ? "" : ",") + fields[c];
      out += kLineEnd;
    }
  }
  return out;
}

std::vector<std::string> ReadConfigCsv(std::string_view bytes, DisplayConfig& config,
                                       CsvRowLines* rows) {
  CsvReader reader(config);
  std::string text;
  reader.Decode(bytes, text);
  std::vector<std::string> problems = reader.Problems();
  if (!problems.empty()) return problems;
  CsvTable table = ParseCsv(text);
  for (const CsvFault& fault : table.faults) reader.Problem(fault.line, fault.column, fault.what);
  bool header = true;
  for (CsvRow& row : table.rows) {
    // A column that only looks empty (a cell holding ="") makes a spreadsheet write an
    // empty field more on every row.
    while (row.fields.size() > kColumns && row.fields.back().empty()) row.fields.pop_back();
    // Spreadsheets write the empty rows below a table as commas alone.
    if (std::all_of(row.fields.begin(), row.fields.end(),
                    [](const std::string& f) { return f.empty(); }))
      continue;
    if (header) {
      reader.Header(row);
    } else {
      reader.Row(row);
    }
    header = false;
  }
  if (header)
    reader.Problem(1, -1, Format(Tr("no header: the first line must be {1}"), {CsvHeader()}));
  reader.Missing();
  reader.Fractions();
  problems = reader.Problems();
  if (problems.empty()) reader.Apply(config, rows);
  return problems;
}

}  // namespace qrv
