#pragma once

namespace qrv {

// The operator's language for the texts of the client, the board tool and the core's
// messages: the text from the program's catalogue (text domain "qrv470kse"), or the English
// text itself when the catalogue has none or the locale is English. The catalogue is the
// installed one beside the program's prefix, or else the build tree's.
const char* Tr(const char* text);
// The same for a text with a count: one for n == 1, many otherwise, as the language has it.
const char* TrN(const char* one, const char* many, unsigned long n);

// The operator's locale for the programs without Qt (which sets it for the GUI), numbers
// still written with a point, as scripts read them.
void TakeOperatorLocale();

}  // namespace qrv

// Marks a constant text for the catalogue where it is defined; Tr() translates it where it is
// shown.
#define QRV_TEXT(text) text
