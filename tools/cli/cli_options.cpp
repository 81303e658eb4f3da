#include "cli_options.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "cli_build.h"
#include "cli_table.h"
#include "text_format.h"
#include "translation.h"

namespace qrv {
namespace {

const ClientCommand* FindCommand(const std::string& name) {
  for (const ClientCommand& c : ClientCommands())
    if (name == c.name) return &c;
  return nullptr;
}

const ClientCommand* FindCommand(CliCommand command) {
  for (const ClientCommand& c : ClientCommands())
    if (c.command == command) return &c;
  return nullptr;
}

// The boards named once for every command, in the environment.
bool PortsFromEnvironment(CliOptions& o, std::string* error) {
  const char* value = std::getenv(kPortsVariable);
  std::istringstream words(value != nullptr ? value : "");
  for (std::string device; words >> device;) o.ports.push_back(device);
  if (!o.ports.empty()) return true;
  *error = Fill(value == nullptr ? Tr("no --port given, and {variable} is not set")
                                 : Tr("no --port given, and {variable} names no device"),
                {{"variable", kPortsVariable}});
  return false;
}

// What the table's rows do for the options, bound to o.
void AddCommands(CommandLineParser& parser, CliOptions& o) {
  for (const ClientCommand& c : ClientCommands()) {
    if (!Built(c.command)) continue;
    CLI::App& app = parser.AddCommand(c.name);
    if (c.operand != nullptr)
      parser.AddOperand(app, c.operand_missing,
                        [&o, take = c.take_operand](const std::string& v) { return take(v, o); });
    for (const ClientOption& option : ClientOptions()) {
      if (option.TakenBy(c.command))
        parser.AddOption(app, option.row,
                         [&o, take = option.take](const std::string& v) { return take(v, o); });
    }
    for (const Exclusion& exclusion : ClientExclusions()) parser.AddExclusion(app, exclusion);
  }
}

// What the words before any command say, or why they make no command.
bool CheckProgramWords(const CommandLineParser& parser, CliOptions& o, bool completion,
                       std::string* error) {
  const std::vector<std::string> unknown = parser.root_unknown();
  const std::string chosen = parser.command();
  if (!chosen.empty()) o.command = FindCommand(chosen)->command;
  if (o.help) return true;
  if (!unknown.empty()) {
    const ClientCommand* unbuilt = FindCommand(unknown[0]);
    *error = unbuilt != nullptr
                 ? Fill(Tr("{command} is not in this build of qrv470kse-cli (see --help)"),
                        {{"command", unknown[0]}})
                 : Fill(Tr("unknown command \"{command}\""), {{"command", unknown[0]}});
    return false;
  }
  if ((o.version || completion) && (!chosen.empty() || (o.version && completion))) {
    *error = Fill(Tr("{option} takes no other argument"),
                  {{"option", o.version ? "--version" : "--completion-table"}});
    return false;
  }
  if (chosen.empty() && !o.version && !completion) {
    *error = Tr("no command given");
    return false;
  }
  return true;
}

// Whether the usage shows the option among those the command needs: the boards (--port, or
// the environment's) count as needed.
bool Needed(const ClientCommand& command, const OptionRow& row) {
  return row.missing != nullptr || (command.transfer && row.repeated);
}

}  // namespace

std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& args,
                                          std::string* error) {
  CliOptions o;
  if (args.empty()) {
    *error = Tr("no command given");
    return std::nullopt;
  }
  // `help send` as `--help send`.
  std::vector<std::string> words = args;
  if (words[0] == "help") words[0] = "--help";
  bool completion = false;
  CommandLineParser parser(
      HelpRow(),
      [&o](const std::string&) {
        o.help = true;
        return std::string();
      },
      ShowClientText);
  parser.AddOption(parser.root(), VersionRow(), [&o](const std::string&) {
    o.version = true;
    return std::string();
  });
  parser.AddOption(parser.root(), CompletionRow(), [&completion](const std::string&) {
    completion = true;
    return std::string();
  });
  AddCommands(parser, o);
  if (!parser.Parse(words, error) || !CheckProgramWords(parser, o, completion, error))
    return std::nullopt;
  o.completion_table = completion;
  if (o.help || o.version || completion) return o;
  const ClientCommand& command = *FindCommand(o.command);
  if (command.transfer && o.ports.empty() && !PortsFromEnvironment(o, error)) return std::nullopt;
  if (o.command == CliCommand::kRead && o.ports.size() > 1) {
    *error =
        Fill(Tr("read takes one board, not {count}"), {{"count", std::to_string(o.ports.size())}});
    return std::nullopt;
  }
  return o;
}

namespace {

// The commands, each with its summary, and the options every transfer takes.
std::string Overview() {
  std::string text =
      Tr("usage: qrv470kse-cli COMMAND [OPTIONS]\n"
         "Configures QRV-470K boards from scripts.\n");
  // The commands' summaries in one column, right of the longest name and operand.
  std::vector<std::pair<std::string, const ClientCommand*>> lines;
  std::size_t column = 0;
  for (const ClientCommand& each : ClientCommands()) {
    if (!Built(each.command)) continue;
    lines.emplace_back(std::string("  ") + each.name + (each.operand ? " " : "") +
                           (each.operand ? each.operand : ""),
                       &each);
    column = std::max(column, lines.back().first.size() + 2);
  }
  for (const auto& [left, each] : lines) {
    const std::string summary = ShowClientText(each->summary);
    std::string head = left + std::string(column - left.size(), ' ');
    for (std::size_t start = 0; start < summary.size();) {
      const std::size_t end = summary.find('\n', start);
      text += head + summary.substr(start, end - start) + "\n";
      head = std::string(column, ' ');
      start = end == std::string::npos ? summary.size() : end + 1;
    }
  }
  text += kUnbuiltCommands;
  text += Tr("Options of the transfers:\n");
  std::vector<const OptionRow*> shared;
  for (const ClientOption& option : ClientOptions()) {
    const bool everywhere = std::all_of(ClientCommands().begin(), ClientCommands().end(),
                                        [&option](const ClientCommand& each) {
                                          return !each.transfer || option.TakenBy(each.command);
                                        });
    if (everywhere) shared.push_back(&option.row);
  }
  text += FormatOptions(shared, ShowClientText);
  return text + Tr("Run `qrv470kse-cli COMMAND --help` for one command, `qrv470kse-cli --version`\n"
                   "for the version.\n");
}

// The command's synopsis from the table, its paragraph and its options.
std::string CommandUsage(const ClientCommand* c) {
  const CliCommand command = c->command;
  // The operand, the options it needs, then the others; an option beside the one it
  // excludes in one pair of brackets.
  std::vector<std::string> words;
  if (c->operand != nullptr) words.push_back(c->operand);
  std::vector<const ClientOption*> own;
  for (const ClientOption& option : ClientOptions())
    if (option.TakenBy(command)) own.push_back(&option);
  for (const ClientOption* option : own) {
    if (!Needed(*c, option->row)) continue;
    words.push_back(OptionSpelling(option->row));
    if (option->row.repeated && command != CliCommand::kRead)
      words.push_back("[" + OptionSpelling(option->row) + "]...");
  }
  for (std::size_t i = 0; i < own.size(); ++i) {
    const OptionRow& row = own[i]->row;
    if (Needed(*c, row)) continue;
    const bool paired =
        i + 1 < own.size() &&
        std::any_of(ClientExclusions().begin(), ClientExclusions().end(), [&](const Exclusion& e) {
          return std::string(e.first) == row.flag && std::string(e.second) == own[i + 1]->row.flag;
        });
    if (paired) {
      words.push_back("[" + OptionSpelling(row) + " | " + OptionSpelling(own[++i]->row) + "]");
    } else {
      words.push_back("[" + OptionSpelling(row) + "]");
    }
  }
  std::string text = FormatSynopsis(std::string("usage: qrv470kse-cli ") + c->name, words);
  text += ShowClientText(c->description);
  std::vector<const OptionRow*> rows;
  for (const ClientOption* option : own) rows.push_back(&option->row);
  rows.push_back(&HelpRow());
  return text + Tr("Options:\n") + FormatOptions(rows, ShowClientText);
}

}  // namespace

std::string CliUsage(CliCommand command) {
  const ClientCommand* c = FindCommand(command);
  return c != nullptr && Built(command) ? CommandUsage(c) : Overview();
}

}  // namespace qrv
