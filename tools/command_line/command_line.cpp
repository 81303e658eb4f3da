#include "command_line.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>

#include "text_format.h"
#include "translation.h"

namespace qrv {
namespace {

constexpr std::size_t kUsageWidth = 80;
constexpr std::size_t kOptionColumn = 23;

// Each name of a row: "-h,--help" is two.
std::vector<std::string> Names(const char* flag) {
  std::vector<std::string> names;
  std::string text = flag;
  for (std::size_t start = 0;;) {
    const std::size_t comma = text.find(',', start);
    names.push_back(text.substr(start, comma - start));
    if (comma == std::string::npos) return names;
    start = comma + 1;
  }
}

// What CLI11 takes for an option rather than for a value: "-5" is a value.
bool LooksLikeOption(const std::string& word) {
  return word.size() > 1 && word[0] == '-' && !std::isdigit(static_cast<unsigned char>(word[1]));
}

void Configure(CLI::App& app) {
  app.set_help_flag();
  app.allow_extras();
  // "/dev/ttyUSB0" is a device, not an option, on every system.
  app.allow_windows_style_options(false);
}

}  // namespace

std::string TakeWholeNumber(const char* option, const std::string& value, ValueRange range,
                            int& number) {
  if (const auto n = ParseValueIn(value, range)) {
    number = *n;
    return {};
  }
  return Fill(Tr("{option} is a number from {first} to {last}, not \"{value}\""),
              {{"option", option},
               {"first", std::to_string(range.first)},
               {"last", std::to_string(range.last)},
               {"value", value}});
}

struct CommandLineParser::Impl {
  struct Row {
    CLI::App* app;
    CLI::Option* option;
    const char* missing;
    TakeValue take;  // flags only: values are taken as CLI11 checks them
  };
  struct Excluded {
    CLI::Option* first;
    CLI::Option* second;
    const char* refusal;
  };
  CLI::App root{"", ""};
  OptionRow help;
  TakeValue take_help;
  ShowText show;
  std::vector<CLI::Option*> helps;
  std::vector<CLI::Option*> alone;
  std::vector<Row> rows;
  std::vector<std::string> value_flags;
  std::vector<std::string> flag_names;
  std::vector<Excluded> exclusions;
  bool has_commands = false;
  std::string refusal;  // the first a take said while CLI11 checked the values

  // Checks each value through take, keeping its refusal for the program's own words.
  CLI::Validator Check(TakeValue take) {
    return CLI::Validator(
        [this, take = std::move(take)](std::string& value) {
          std::string why = take(value);
          if (!why.empty() && refusal.empty()) refusal = why;
          return why;
        },
        "");
  }

  // Why CLI11 stopped, in the program's words.
  std::string Explain(const CLI::ParseError& error, const std::vector<std::string>& args) {
    if (!refusal.empty()) return refusal;
    if (dynamic_cast<const CLI::ExcludesError*>(&error) != nullptr) {
      for (const Excluded& e : exclusions)
        if (e.first->count() > 0 && e.second->count() > 0) return show(e.refusal);
    }
    // CLI11 takes whatever follows an option as its value: only the last word can lack one
    // ("--log", or "--log=").
    if (!args.empty()) {
      const std::string last = args.back().substr(0, args.back().find('=', 2));
      if (std::find(value_flags.begin(), value_flags.end(), last) != value_flags.end())
        return Fill(Tr("{option} needs a value"), {{"option", last}});
    }
    for (std::size_t i = 0; i < args.size(); ++i) {
      const std::size_t equals = args[i].find('=');
      if (equals != std::string::npos && std::find(flag_names.begin(), flag_names.end(),
                                                   args[i].substr(0, equals)) != flag_names.end())
        return Fill(Tr("{option} takes no value"), {{"option", args[i].substr(0, equals)}});
    }
    return Tr("the command line cannot be read");
  }
};

CommandLineParser::CommandLineParser(const OptionRow& help, TakeValue take_help, ShowText show)
    : impl_(std::make_unique<Impl>()) {
  impl_->show = std::move(show);
  Configure(impl_->root);
  impl_->root.require_subcommand(0, 1);
  impl_->help = help;
  impl_->take_help = std::move(take_help);
  AddOption(impl_->root, help, impl_->take_help);
  impl_->helps.push_back(impl_->rows.back().option);
}

CommandLineParser::~CommandLineParser() = default;

CLI::App& CommandLineParser::root() {
  return impl_->root;
}

CLI::App& CommandLineParser::AddCommand(const std::string& name) {
  impl_->has_commands = true;
  CLI::App& app = *impl_->root.add_subcommand(name, "");
  Configure(app);
  AddOption(app, impl_->help, impl_->take_help);
  impl_->helps.push_back(impl_->rows.back().option);
  return app;
}

void CommandLineParser::AddOption(CLI::App& app, const OptionRow& row, TakeValue take) {
  CLI::Option* option = nullptr;
  const std::vector<std::string> names = Names(row.flag);
  if (row.value != nullptr) {
    option = app.add_option(row.flag);
    // Given twice, each value is taken in turn: the last wins where one is kept.
    option->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    option->check(impl_->Check([take, shown = names.back()](const std::string& value) {
      return value.empty()
                 ? Fill(Tr("{option} needs a value, not an empty one"), {{"option", shown}})
                 : take(value);
    }));
    impl_->value_flags.insert(impl_->value_flags.end(), names.begin(), names.end());
    impl_->rows.push_back({&app, option, row.missing, {}});
  } else {
    option = app.add_flag(row.flag);
    // "--verify=no" would be taken as given.
    option->disable_flag_override();
    impl_->flag_names.insert(impl_->flag_names.end(), names.begin(), names.end());
    impl_->rows.push_back({&app, option, row.missing, std::move(take)});
  }
  if (row.alone) impl_->alone.push_back(option);
}

void CommandLineParser::AddOperand(CLI::App& app, const char* missing, TakeValue take) {
  CLI::Option* option = app.add_option("operand");
  option->check(impl_->Check(std::move(take)));
  impl_->rows.push_back({&app, option, missing, {}});
}

void CommandLineParser::AddExclusion(CLI::App& app, const Exclusion& exclusion) {
  CLI::Option* first = app.get_option_no_throw(exclusion.first);
  CLI::Option* second = app.get_option_no_throw(exclusion.second);
  if (first == nullptr || second == nullptr) return;
  first->excludes(second);
  impl_->exclusions.push_back({first, second, exclusion.refusal});
}

bool CommandLineParser::Parse(const std::vector<std::string>& args, std::string* refusal) {
  Impl& m = *impl_;
  // "--log=" says its value is empty; CLI11 would take the next word for it instead.
  for (const std::string& arg : args) {
    const std::string name = arg.substr(0, arg.size() - 1);
    if (arg.size() > 3 && arg.back() == '=' &&
        std::find(m.value_flags.begin(), m.value_flags.end(), name) != m.value_flags.end()) {
      *refusal = Fill(Tr("{option} needs a value, not an empty one"), {{"option", name}});
      return false;
    }
  }
  // CLI11 takes the words last first.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    m.root.parse(reversed);
  } catch (const CLI::ParseError& error) {
    *refusal = m.Explain(error, args);
    return false;
  }
  for (const Impl::Row& row : m.rows)
    if (row.take && row.option->count() > 0) row.take("");
  if (help() || std::any_of(m.alone.begin(), m.alone.end(),
                            [](const CLI::Option* o) { return o->count() > 0; }))
    return true;
  CLI::App* target = m.root.get_subcommands().empty() ? nullptr : m.root.get_subcommands()[0];
  if (target == nullptr && !m.has_commands) target = &m.root;
  if (target == nullptr) return true;
  const std::vector<std::string> unknown = target->remaining();
  if (!unknown.empty()) {
    *refusal = LooksLikeOption(unknown[0])
                   ? Fill(Tr("unknown option {option}"), {{"option", unknown[0]}})
                   : Fill(Tr("unexpected argument \"{argument}\""), {{"argument", unknown[0]}});
    return false;
  }
  for (const Impl::Row& row : m.rows) {
    if (row.app == target && row.missing != nullptr && row.option->count() == 0) {
      *refusal = m.show(row.missing);
      return false;
    }
  }
  return true;
}

bool CommandLineParser::help() const {
  return std::any_of(impl_->helps.begin(), impl_->helps.end(),
                     [](const CLI::Option* o) { return o->count() > 0; });
}

std::string CommandLineParser::command() const {
  const std::vector<CLI::App*> chosen = impl_->root.get_subcommands();
  return chosen.empty() ? std::string() : chosen[0]->get_name();
}

std::vector<std::string> CommandLineParser::root_unknown() const {
  return impl_->root.remaining();
}

std::string FormatSynopsis(const std::string& head, const std::vector<std::string>& words) {
  const std::size_t indent = head.size() + 1;
  std::string text = head;
  std::size_t column = head.size();
  for (const std::string& word : words) {
    if (column + 1 + word.size() > kUsageWidth && column > indent) {
      text += "\n" + std::string(indent, ' ') + word;
      column = indent + word.size();
    } else {
      text += " " + word;
      column += 1 + word.size();
    }
  }
  return text + "\n";
}

std::string OptionSpelling(const OptionRow& row) {
  std::string text;
  for (const std::string& name : Names(row.flag)) text += (text.empty() ? "" : ", ") + name;
  if (row.value != nullptr) text += std::string(" ") + row.value;
  return text;
}

std::string FormatOptions(const std::vector<const OptionRow*>& rows, const ShowText& show) {
  std::string text;
  for (const OptionRow* row : rows) {
    std::string left = "  " + OptionSpelling(*row);
    const std::string help = show(row->help);
    left += left.size() + 1 < kOptionColumn ? std::string(kOptionColumn - left.size(), ' ')
                                            : "\n" + std::string(kOptionColumn, ' ');
    text += left;
    for (std::size_t start = 0; start < help.size();) {
      const std::size_t end = help.find('\n', start);
      text += help.substr(start, end - start) + "\n";
      if (end == std::string::npos) break;
      start = end + 1;
      if (start < help.size()) text += std::string(kOptionColumn, ' ');
    }
  }
  return text;
}

}  // namespace qrv
