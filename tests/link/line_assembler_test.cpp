#include "line_assembler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qrv {
namespace {

using namespace std::string_literals;

// Feeds reads in order and lists what each one hands over ("-" for nothing).
std::vector<std::string> Feed(LineAssembler& a, const std::vector<std::string>& reads) {
  std::vector<std::string> out;
  for (const std::string& r : reads) out.push_back(a.Feed(r).value_or("-"));
  return out;
}

TEST(LineAssemblerTest, HandsOverOnlyWhenAReadEndsInLf) {
  struct Case {
    std::vector<std::string> reads;
    std::vector<std::string> handed;
  };
  const Case cases[] = {
      {{"GO\r\n"}, {"GO\r\n"}},
      {{"G", "O\r", "\n"}, {"-", "-", "GO\r\n"}},
      {{"GO\r\nGO\r\n"}, {"GO\r\nGO\r\n"}},
      {{"GO\r\nG", "O\r\n"}, {"-", "GO\r\nGO\r\n"}},
      {{"E1\r\n", "", "GO\r\n"}, {"E1\r\n", "-", "GO\r\n"}},
      // A NUL is kept; the dispatcher stops reading there.
      {{"G\0O\r\n"s}, {"G\0O\r\n"s}},
      {{"\n", "\n"}, {"\n", "\n"}},
  };
  for (const Case& c : cases) {
    LineAssembler a;
    EXPECT_EQ(Feed(a, c.reads), c.handed) << ::testing::PrintToString(c.reads);
    EXPECT_EQ(a.open_bytes(), 0u);
  }
}

TEST(LineAssemblerTest, OverLongLineIsDroppedAndTheNextLineIsIntact) {
  LineAssembler a;
  const std::string max(LineAssembler::kMaxLineBytes - 2, 'x');
  EXPECT_EQ(a.Feed(max), std::nullopt);
  EXPECT_EQ(a.Feed("\r\n"), max + "\r\n");  // 499 bytes: the longest line taken

  EXPECT_EQ(a.Feed(std::string(LineAssembler::kMaxReadBytes, 'y')), std::nullopt);
  EXPECT_EQ(a.open_bytes(), 0u);
  EXPECT_EQ(a.Feed("GO\r\n"), "GO\r\n");

  // Growing past the limit over several reads drops everything collected with that read.
  EXPECT_EQ(a.Feed(std::string(300, 'z')), std::nullopt);
  EXPECT_EQ(a.Feed(std::string(199, 'z') + "\n"), std::nullopt);
  EXPECT_EQ(a.open_bytes(), 0u);
  EXPECT_EQ(a.Feed("E3\r\n"), "E3\r\n");

  EXPECT_EQ(a.Feed("GO\r"), std::nullopt);
  a.Reset();
  EXPECT_EQ(a.Feed("GN\r\n"), "GN\r\n");
}

}  // namespace
}  // namespace qrv
