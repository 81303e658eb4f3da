#pragma once

#include <string>

namespace qrv {

// The field encodings shared by every frame and answer. Sending writes whatever the value
// gives ('0' + v); receiving checks nothing, as the board's answers are taken as they come.

inline char DecimalDigit(int v) {
  return static_cast<char>('0' + v);
}

inline void AppendTwoDigits(std::string& out, int v) {
  out += DecimalDigit(v / 10);
  out += DecimalDigit(v % 10);
}

// Upper case only: the board decodes 'a'..'f' wrongly.
inline char HexDigit(int nibble) {
  return static_cast<char>(nibble < 10 ? '0' + nibble : 'A' + nibble - 10);
}

inline void AppendHexByte(std::string& out, int byte) {
  out += HexDigit((byte & 0xF0) >> 4);
  out += HexDigit(byte & 0x0F);
}

// Bytes of an answer are read as the signed chars the board's peer has always used.
inline int ReadDigit(char c) {
  return static_cast<signed char>(c) - '0';
}

inline int ReadTwoDigits(const char* p) {
  return ReadDigit(p[0]) * 10 + ReadDigit(p[1]);
}

// Anything above '9' counts as a letter: only 'A'..'F' decode correctly.
inline int ReadHexDigit(char c) {
  const int v = static_cast<signed char>(c);
  return v > '9' ? v - 0x37 : v - '0';
}

inline int ReadHexByte(const char* p) {
  return ReadHexDigit(p[0]) * 16 + ReadHexDigit(p[1]);
}

}  // namespace qrv
