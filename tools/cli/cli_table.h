#pragma once

#include <string>
#include <vector>

#include "cli_options.h"
#include "command_line.h"

namespace qrv {

// What the shell offers for an option's value or a command's operand.
enum class Completion {
  kNothing,
  kWords,     // one of words()
  kWordList,  // words() separated by commas, each once
  kFiles,     // files ending in .words() (any file for ""), and folders
  kDevices,   // the serial devices there are, and tcp://
};

// One option of the client: its row, the commands that take it, how a value is taken and how
// the shell completes it.
struct ClientOption {
  OptionRow row;
  std::vector<CliCommand> commands;
  std::string (*take)(const std::string& value, CliOptions& o);
  Completion completion = Completion::kNothing;
  std::string (*words)() = nullptr;

  bool TakenBy(CliCommand command) const;
};

// One command of the client, with what stands in place of its operand.
struct ClientCommand {
  CliCommand command;
  const char* name;
  const char* operand;          // its name in the usage ("FILE.dat"); nullptr for none
  const char* operand_missing;  // the refusal when it is not given
  std::string (*take_operand)(const std::string& value, CliOptions& o);
  Completion operand_completion;
  std::string (*operand_words)();
  const char* summary;      // the overview's line
  const char* description;  // the usage's paragraph, lines broken
  bool transfer;            // serves boards: --port, or the boards of kPortsVariable
};

// In the overview's order, the commands this build lacks too.
const std::vector<ClientCommand>& ClientCommands();
// In the usage's order.
const std::vector<ClientOption>& ClientOptions();
const std::vector<Exclusion>& ClientExclusions();
// The options before any command.
const OptionRow& HelpRow();
const OptionRow& VersionRow();
const OptionRow& CompletionRow();  // hidden: the shell's table, for the build

// Whether this build holds the command: a Windows build lacks the libraries of some.
bool Built(CliCommand command);
// A text of the tables as the operator reads it: translated, with the periods, the pages and
// the limits filled in.
std::string ShowClientText(const char* text);

}  // namespace qrv
