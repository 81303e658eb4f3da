#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config_file.h"
#include "display_config.h"
#include "value_range.h"

namespace qrv {

// Where a value sits and what it holds, as "page 2 line 1 character colour 99", in the
// operator's language (field is a text marked for the catalogue). Page and line count from
// 0; -1 where the field has none.
std::string DescribeValue(const char* field, int page, int line, std::int32_t value);
// The same with the values that belong there, "page 2 line 1 character colour 99 (0..8)",
// when value is not one of them; empty when it is.
std::string ValueMisfit(const char* field, int page, int line, std::int32_t value,
                        ValueRange range);

// What is wrong with a configuration read from a file, one line each: a file cut short
// ("ends at line 500 of 996"), then every value outside the choices the dialogs offer
// ("page 2 line 1 character colour 99 (0..8)"). Empty when the file is whole and sound.
std::vector<std::string> ConfigProblems(const DisplayConfig& config,
                                        const ConfigFileExtent& extent);

}  // namespace qrv
