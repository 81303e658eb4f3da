#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace qrv {

// A whole sentence (a translated text) with its parts put in, so that a translator sees the
// sentence and may place its numbers and names where the language wants them. A part is put
// in as it is, never read as a pattern again; a placeholder without a part, and any other
// brace, stays as written.

// "{name}" replaced by the value given for name: for texts that name what they hold.
std::string Fill(std::string_view pattern,
                 std::initializer_list<std::pair<std::string_view, std::string>> values);

// "{1}" replaced by the first part, "{2}" by the second (up to nine), in any order.
std::string Format(std::string_view pattern, std::initializer_list<std::string_view> parts);
std::string Format(std::string_view pattern, const std::string_view* parts, std::size_t count);

}  // namespace qrv
