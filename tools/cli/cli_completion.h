#pragma once

#include <string>

namespace qrv {

// The bash functions that name the client's commands, their options and what completes each
// value, made from the table; the build puts them into the completion script.
std::string CompletionTable();

}  // namespace qrv
