#include "cli_completion.h"

#include <map>
#include <vector>

#include "cli_table.h"

namespace qrv {
namespace {

// How the script's _qrv470kse_cli_complete is called for a value.
std::string Action(Completion completion, std::string (*words)()) {
  const std::string what = words != nullptr ? words() : "";
  switch (completion) {
    case Completion::kWords:
      return "words " + what;
    case Completion::kWordList:
      return "list " + what;
    case Completion::kFiles:
      return what.empty() ? "files" : "files " + what;
    case Completion::kDevices:
      return "devices";
    case Completion::kNothing:
      break;
  }
  return "nothing";
}

std::string Names(const char* flag) {
  std::string names = flag;
  for (char& c : names)
    if (c == ',') c = ' ';
  return names;
}

// Of -h and --help, the one the shell offers.
std::string HelpName() {
  const std::string names = HelpRow().flag;
  return names.substr(names.rfind(',') + 1);
}

}  // namespace

std::string CompletionTable() {
  std::string commands, arms;
  // "command option" patterns by what completes their value, in the order first met.
  std::vector<std::string> actions;
  std::map<std::string, std::string> patterns;
  for (const ClientCommand& c : ClientCommands()) {
    if (!Built(c.command)) continue;
    commands += (commands.empty() ? "" : " ") + std::string(c.name);
    std::string options, valued;
    for (const ClientOption& option : ClientOptions()) {
      if (!option.TakenBy(c.command)) continue;
      options += Names(option.row.flag) + " ";
      if (option.row.value == nullptr) continue;
      valued += (valued.empty() ? "" : " ") + Names(option.row.flag);
      const std::string action = Action(option.completion, option.words);
      if (patterns.count(action) == 0) actions.push_back(action);
      std::string& pattern = patterns[action];
      pattern += (pattern.empty() ? "" : " | ") + std::string("\"") + c.name + " " +
                 option.row.flag + "\"";
    }
    options += HelpName();
    arms += "        " + std::string(c.name) + ") options=\"" + options + "\" valued=\"" + valued +
            "\" operand=\"" +
            (c.operand != nullptr ? Action(c.operand_completion, c.operand_words) : "") + "\" ;;\n";
  }
  std::string values;
  for (const std::string& action : actions)
    values += "        " + patterns[action] + ") _qrv470kse_cli_complete " + action + " ;;\n";
  return "# Made from the client's table of commands and options.\n"
         "_qrv470kse_cli_commands=\"" +
         commands +
         "\"\n"
         "_qrv470kse_cli_program_options=\"" +
         HelpName() + " " + Names(VersionRow().flag) +
         "\"\n"
         "# Sets options (those command $1 takes), valued (those of them that take a value) and\n"
         "# operand (what completes in place of FILE.dat); false for no such command.\n"
         "_qrv470kse_cli_command()\n"
         "{\n"
         "    case $1 in\n" +
         arms +
         "        *) return 1 ;;\n"
         "    esac\n"
         "}\n"
         "# Completes the value of option $2 of command $1.\n"
         "_qrv470kse_cli_value()\n"
         "{\n"
         "    case \"$1 $2\" in\n" +
         values +
         "    esac\n"
         "}\n";
}

}  // namespace qrv
