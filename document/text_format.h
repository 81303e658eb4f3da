#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace qrv {

// A whole sentence with its parts put in: "{1}" is the first part, "{2}" the second, in any
// order, so that a translation may order them as its language does. Any other brace stays.
std::string Format(std::string_view pattern, std::initializer_list<std::string_view> parts);
std::string Format(std::string_view pattern, const std::string_view* parts, std::size_t count);

}  // namespace qrv
