#include "csv_table.h"

#include <csv.h>

#include <algorithm>

#include "translation.h"

namespace qrv {
namespace {

// What the parser's callbacks build up, and the line being fed to it.
struct Reading {
  CsvTable table;
  CsvRow row;
  int line = 0;
  bool row_begun = false;
  int field_line = 0;    // where the last field ended
  int row_end_line = 0;  // where the last row ended

  void Field(std::string_view data) {
    // A field ends on the line it was read to; counting its line breaks back gives the
    // line it started on, which is the row's when it is the first field.
    const int breaks = static_cast<int>(std::count(data.begin(), data.end(), '\n'));
    if (!row_begun) row.line = line - breaks;
    row_begun = true;
    if (data.find_first_of("\r\n") != std::string_view::npos) {
      table.faults.push_back({line - breaks, static_cast<int>(row.fields.size()),
                              Tr("a line break inside the field")});
    }
    row.fields.emplace_back(data);
    field_line = line;
  }
  void RowEnd() {
    table.rows.push_back(std::move(row));
    row = {};
    row_begun = false;
    row_end_line = line;
  }
};

void OnField(void* data, std::size_t size, void* reading) {
  static_cast<Reading*>(reading)->Field(
      std::string_view(data != nullptr ? static_cast<const char*>(data) : "", size));
}

void OnRowEnd(int, void* reading) {
  static_cast<Reading*>(reading)->RowEnd();
}

// Spaces are part of a field, as RFC 4180 has it: the parser would trim them.
int NoSpace(unsigned char) {
  return 0;
}

}  // namespace

CsvTable ParseCsv(std::string_view text) {
  csv_parser parser;
  Reading reading;
  if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0) {
    reading.table.faults.push_back({1, -1, Tr("no memory to read the text")});
    return std::move(reading.table);
  }
  csv_set_space_func(&parser, NoSpace);
  // Fed a line at a time, so every callback knows the line it came on.
  bool broken = false;
  while (!text.empty() && !broken) {
    const std::size_t end = std::min(text.find('\n'), text.size() - 1) + 1;
    ++reading.line;
    broken = csv_parse(&parser, text.data(), end, OnField, OnRowEnd, &reading) != end;
    text.remove_prefix(end);
  }
  const int column = static_cast<int>(reading.row.fields.size());
  if (broken) {
    reading.table.faults.push_back(
        {reading.line, column,
         csv_error(&parser) == CSV_EPARSE
             ? Tr("a quote out of place: a field with quotes in it is quoted whole, its quotes "
                  "doubled")
             : csv_strerror(csv_error(&parser))});
  } else if (csv_fini(&parser, OnField, OnRowEnd, &reading) != 0) {
    // The open field began where the last one ended, or after the last row.
    const int line = reading.row_begun ? reading.field_line : reading.row_end_line + 1;
    reading.table.faults.push_back({line, column, Tr("a quoted field that is never closed")});
  }
  csv_free(&parser);
  return std::move(reading.table);
}

std::string CsvField(std::string_view value) {
  const bool quoted = value.find_first_of(",\"\r\n") != std::string_view::npos ||
                      (!value.empty() && (value.front() == ' ' || value.front() == '\t' ||
                                          value.back() == ' ' || value.back() == '\t'));
  if (!quoted) return std::string(value);
  std::string field(csv_write(nullptr, 0, value.data(), value.size()), '\0');
  csv_write(field.data(), field.size(), value.data(), value.size());
  return field;
}

}  // namespace qrv
