#pragma once

#include <string>

namespace qrv {

// What Windows says of an error code (GetLastError, WSAGetLastError), in its own words.
std::string Win32ErrorText(unsigned long error);

// A path or a name as the program's arguments give it (the ANSI code page), for the wide
// functions; and back.
std::wstring WideFromAnsi(const std::string& text);
std::string AnsiFromWide(const std::wstring& text);

}  // namespace qrv
