#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace qrv {

// The pattern (a translated text) with each {name} replaced by its value, so that a
// translator sees a whole sentence and may put its numbers and names where the language
// wants them. A name without a value stays as it is.
std::string Fill(std::string_view pattern,
                 std::initializer_list<std::pair<std::string_view, std::string>> values);

}  // namespace qrv
