#pragma once

namespace qrv::msg {

// Texts shown to the operator, byte for byte (UTF-8 here; the GUI shows them as they are).
inline constexpr char kModeError[] = "Mode Error";
inline constexpr char kMenuDisplay[] = "Menu Display";
inline constexpr char kFramingError[] = "Framing Error";
inline constexpr char kParityError[] = "Parity Error";
inline constexpr char kOverRunError[] = "Over Run Error";
inline constexpr char kCommandError[] = "Command Error";
inline constexpr char kNoConnect[] = "No Connect";
inline constexpr char kCantSetColour[] = "Miss! Can't Set";
// Port set-up warnings, in the order they are shown.
inline constexpr char kFileOpen[] = "Miss! File Open";
inline constexpr char kMaskSet[] = "Miss! Mask Set";
inline constexpr char kBufferSet[] = "Miss! Buffer Set";
inline constexpr char kTimeOutSet[] = "Miss! Time Out Set";
inline constexpr char kSetCommState[] = "Miss! Set Comm State";
// The communication settings could not be written; the file's path follows.
inline constexpr char kSettingsNotSaved[] = "Can't save the settings file ";
// Start-up when the reader thread could not be made.
inline constexpr char kReadThread[] = "error creating read thread";
// --log could not open its file; the path and the reason follow.
inline constexpr char kNoTrafficLog[] = "Can't open the traffic log ";
// --simulate found no pseudo-terminal; the reason follows.
inline constexpr char kNoSimulatedBoard[] = "Can't start the simulated board: ";
// The file commands.
inline constexpr char kCantFileOpen[] = "Can't file open";
inline constexpr char kDontFileOpen[] = "Don't file open";
inline constexpr char kTitleRefused[] = "ＪＩＳ第１水準,第２水準以外の字が選択されてます";
// A frame not built because a value does not fit it; the value and its range follow.
inline constexpr char kValueNotSent[] = "Not sent, a value does not fit: ";

}  // namespace qrv::msg
