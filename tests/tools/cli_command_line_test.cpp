#include <gtest/gtest.h>

#include "cli_options.h"
#include "command_line.h"
#include "periods.h"

namespace qrv {
namespace {

using Texts = std::vector<std::string>;

// The refusal of a command line, or "" when it makes one.
std::string Refusal(const Texts& args) {
  std::string error;
  return ParseCliOptions(args, &error) ? "" : error;
}

template <std::size_t N>
void ExpectRefusals(const std::pair<Texts, std::string> (&cases)[N]) {
  for (const auto& [args, refusal] : cases) {
    std::string line;
    for (const std::string& arg : args) line += arg + " ";
    EXPECT_EQ(Refusal(args), refusal) << line;
  }
}

// Each value is taken at both ends of its range and refused one past either end, naming the
// option and the value.
TEST(CliCommandLineTest, ValuesAreTakenToTheEndsOfTheirRangesAndRefusedBeyond) {
  const std::pair<Texts, std::string> cases[] = {
      {{"page", "1", "--port", "x"}, ""},
      {{"page", "32", "--port", "x"}, ""},
      {{"page", "33", "--port", "x"}, "page is a number from 1 to 32 or auto, not \"33\""},
      {{"page", "-1", "--port", "x"}, "page is a number from 1 to 32 or auto, not \"-1\""},
      {{"page", "+1", "--port", "x"}, "page is a number from 1 to 32 or auto, not \"+1\""},
      {{"send", "f", "--page", "1-32,32", "--port", "x"}, ""},
      {{"frames", "f", "--page", "0-3"},
       "--page takes pages 1 to 32 and ranges such as 2,5,30-32, not \"0-3\""},
      {{"frames", "f", "--page", "3-"},
       "--page takes pages 1 to 32 and ranges such as 2,5,30-32, not \"3-\""},
      {{"frames", "f", "--only", "position,titles"}, ""},
      {{"preview", "f", "-o", "p.png", "--page", "32", "--scale", "8"}, ""},
      {{"preview", "f", "-o", "p.png", "--scale", "0"},
       "--scale is a number from 1 to 8, not \"0\""},
      {{"preview", "f", "-o", "p.png", "--scale", "9"},
       "--scale is a number from 1 to 8, not \"9\""},
      {{"preview", "f", "-o", "p.png", "--page", "1", "--all"},
       "--page and --all do not go together"},
      {{"read", "-o", "x", "--port", "x", "--answer-timeout", "1"}, ""},
      {{"read", "-o", "x", "--port", "x", "--answer-timeout", "600000"}, ""},
      {{"read", "-o", "x", "--port", "x", "--answer-timeout", "600001"},
       "--answer-timeout is a number from 1 to 600000, not \"600001\""},
      {{"verify", "f", "--port", "x", "--answer-timeout", "3.5"},
       "--answer-timeout is a number from 1 to 600000, not \"3.5\""},
  };
  ExpectRefusals(cases);
}

// What is missing or left over, options written with =, the words before the command.
TEST(CliCommandLineTest, EachWordOutOfPlaceIsNamedInTheProgramsOwnWords) {
  const std::pair<Texts, std::string> cases[] = {
      {{"send", "f", "--port", "x", "--log"}, "--log needs a value"},
      {{"page", "2", "--port", "x", "--pace"}, "--pace needs a value"},
      {{"page", "2", "--port", "x", "--log="}, "--log needs a value, not an empty one"},
      {{"send", "f", "--pace=", "--port", "x"}, "--pace needs a value, not an empty one"},
      {{"display", "on", "--port", "x", "--report", ""},
       "--report needs a value, not an empty one"},
      {{"send", "f", "--port=x", "--pace=answer", "--report=r.jsonl"}, ""},
      {{"send", "f", "--port", "x", "--verify=no"}, "--verify takes no value"},
      {{"send", "f", "g", "--port", "x"}, "unexpected argument \"g\""},
      {{"check", "f", "--port", "x"}, "unknown option --port"},
      {{"ports", "x"}, "unexpected argument \"x\""},
      {{"--port", "x", "send", "f"}, "unknown command \"--port\""},
      {{}, "no command given"},
      {{"--completion-table", "ports"}, "--completion-table takes no other argument"},
      {{"read", "--port", "x"}, "no -o FILE.dat given"},
      {{"import", "in.csv"}, "no -o OUT.dat given"},
      {{"preview", "-o", "p.png"}, "no FILE.dat given"},
      {{"help", "send"}, ""},
      {{"--help", "nothing"}, ""},
  };
  ExpectRefusals(cases);
  std::string error;
  const auto o = ParseCliOptions(
      {"send", "f", "--port", "a", "--port", "b", "--pace", "fixed", "--pace", "answer"}, &error);
  ASSERT_TRUE(o) << error;
  EXPECT_EQ(o->ports, (Texts{"a", "b"}));
  EXPECT_EQ(o->pace, Pace::kAnswer);  // the last given
  EXPECT_EQ(ParseCliOptions({"help", "send"}, &error)->command, CliCommand::kSend);
  EXPECT_EQ(ParseCliOptions({"--help", "nothing"}, &error)->command, CliCommand::kNone);
}

// The usage lines come from the table, the periods from the protocol's constants.
TEST(CliCommandLineTest, EachUsageShowsItsOptionsAndTheProtocolsPeriods) {
  const std::string send = CliUsage(CliCommand::kSend);
  EXPECT_EQ(send.substr(0, send.find("\nSends")),
            "usage: qrv470kse-cli send FILE.dat --port DEVICE [--port DEVICE]...\n"
            "                          [--page LIST] [--only KINDS] [--pace fixed|answer]\n"
            "                          [--answer-timeout MS] [--verify] [--log LOGFILE]\n"
            "                          [--report FILE]");
  const std::string periods = "every " + std::to_string(kSendPeriod.count()) +
                              " ms (reads: " + std::to_string(kReadPeriod.count()) + " ms)";
  EXPECT_NE(send.find(periods), std::string::npos) << send;
  EXPECT_NE(send.find("(" + std::to_string(kAnswerTimeout.count()) + " when not"),
            std::string::npos);
  EXPECT_NE(CliUsage(CliCommand::kNone).find(periods), std::string::npos);
  EXPECT_EQ(
      CliUsage(CliCommand::kRead)
          .rfind("usage: qrv470kse-cli read --port DEVICE -o FILE.dat [--pace fixed|answer]\n", 0),
      0u);
  EXPECT_NE(CliUsage(CliCommand::kPreview).find("-o OUT.png [--page N | --all] [--scale K]\n"),
            std::string::npos);
  const std::string import = CliUsage(CliCommand::kImport);
  EXPECT_EQ(import.substr(import.find("Options:\n")),
            "Options:\n"
            "  -o OUT.dat           the .dat file to write\n"
            "  --base BASE.dat      the file whose position, current page and Auto the new\n"
            "                       file keeps, and whose titles left as exported keep\n"
            "                       their bytes\n"
            "  -h, --help           print this and exit\n");
  // A line of exactly 80 columns stays whole; one more and its last word goes on.
  EXPECT_EQ(FormatSynopsis("usage: p", {std::string(71, 'a'), "b"}),
            "usage: p " + std::string(71, 'a') + "\n         b\n");
  EXPECT_EQ(FormatSynopsis("usage: p", {std::string(70, 'a'), "bc"}),
            "usage: p " + std::string(70, 'a') + "\n         bc\n");
  EXPECT_EQ(FormatSynopsis("usage: p", {std::string(69, 'a'), "b"}),
            "usage: p " + std::string(69, 'a') + " b\n");
}

}  // namespace
}  // namespace qrv
