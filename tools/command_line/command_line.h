#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "value_range.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace qrv {

// One option of a program's table. Its texts are QRV_TEXT constants, shown through Tr().
struct OptionRow {
  const char* flag;               // "--port", or "-o"; "-h,--help" for two names
  const char* value = nullptr;    // the value's name in the usage ("DEVICE"); nullptr: a flag
  const char* help = nullptr;     // what it does, lines broken for the usage's right column
  bool repeated = false;          // each value given is taken ("[--port DEVICE]...")
  const char* missing = nullptr;  // the refusal when it is not given; nullptr when optional
  bool alone = false;             // given, nothing else is required (--version)
};

// Two options of one command that do not go together, and the refusal when both are given.
struct Exclusion {
  const char* first;
  const char* second;
  const char* refusal;
};

// Takes one value of an option or of an operand (a flag's is empty) into the program's
// options: the refusal, or empty when it fits.
using TakeValue = std::function<std::string(const std::string& value)>;
// A text of the table as shown: translated, the program's values filled in.
using ShowText = std::function<std::string(const char* text)>;

// value as a whole number of range into number: empty, or the refusal naming option.
std::string TakeWholeNumber(const char* option, const std::string& value, ValueRange range,
                            int& number);

// A program's command line as CLI11 reads it, built from the program's table, with every
// refusal in the program's own words: CLI11's texts never reach the operator.
class CommandLineParser {
 public:
  // help is added to the program and to every command; when given, nothing is required.
  // show makes the texts of rows and exclusions what the operator reads.
  CommandLineParser(const OptionRow& help, TakeValue take_help, ShowText show);
  ~CommandLineParser();
  CommandLineParser(const CommandLineParser&) = delete;
  CommandLineParser& operator=(const CommandLineParser&) = delete;

  // The program's own options; with commands added, its words before the command.
  CLI::App& root();
  CLI::App& AddCommand(const std::string& name);
  void AddOption(CLI::App& app, const OptionRow& row, TakeValue take);
  // The one word of a command that is not an option (FILE.dat, on|off), refused with missing
  // when absent.
  void AddOperand(CLI::App& app, const char* missing, TakeValue take);
  // Where both options are on app.
  void AddExclusion(CLI::App& app, const Exclusion& exclusion);

  // Reads args (after the program's name): false with the refusal. Words the command does not
  // take and what it lacks are refused here; the program's own words before a command are
  // left to the program (root_unknown).
  bool Parse(const std::vector<std::string>& args, std::string* refusal);
  bool help() const;
  // After Parse: the command's name (empty for none) and the program's words nobody took.
  std::string command() const;
  std::vector<std::string> root_unknown() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// "usage: PROGRAM WORD WORD ...", broken before 80 columns under its first word.
std::string FormatSynopsis(const std::string& head, const std::vector<std::string>& words);
// A row's flag and value as the usage shows it: "--port DEVICE".
std::string OptionSpelling(const OptionRow& row);
// "  --port DEVICE       text...", each text as show makes it.
std::string FormatOptions(const std::vector<const OptionRow*>& rows, const ShowText& show);

}  // namespace qrv
