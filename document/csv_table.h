#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qrv {

// One record of a CSV text and the line it starts on (the first line is 1).
struct CsvRow {
  int line = 0;
  std::vector<std::string> fields;
};

// Where a CSV text breaks its rules: the line, the field (from 0; -1 for none) and what.
struct CsvFault {
  int line = 0;
  int column = -1;
  std::string what;
};

struct CsvTable {
  std::vector<CsvRow> rows;
  std::vector<CsvFault> faults;
};

// The records of a CSV text as RFC 4180 has them: fields split at commas, quoted fields with
// commas and doubled quotes, records ended by CR LF or LF. Spaces belong to the field;
// blank lines are passed over. A line break inside a quoted field is a fault (the field is
// kept); a quote out of place ends the reading there.
CsvTable ParseCsv(std::string_view text);

// A field as RFC 4180 writes it: quoted when it holds a comma, a quote or a line break, or
// starts or ends with a space that a reader might trim.
std::string CsvField(std::string_view value);

}  // namespace qrv
