#include "traffic_log.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <regex>

namespace qrv {
namespace {

TEST(TrafficLogTest, EntriesAreAppendedOneLineEachWithTheirBytesVisible) {
  char path[] = "/tmp/qrv-traffic-XXXXXX";
  const int fd = mkstemp(path);
  ASSERT_EQ(write(fd, "earlier\n", 8), 8);
  close(fd);
  TrafficLog log;
  ASSERT_TRUE(log.Open(path, nullptr));
  log.Sent("/dev/pts/3", "CA01\x82\xA0\x01~\x7F\r\n");
  log.Received("/dev/pts/3", "GO\r\n");

  std::ifstream in(path);
  std::string text((std::istreambuf_iterator<char>(in)), {});
  const std::string stamp = R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} /dev/pts/3 )";
  EXPECT_TRUE(
      std::regex_match(text, std::regex("earlier\n" + stamp + "-> CA01<82><A0><01>~<7F><CR><LF>\n" +
                                        stamp + "<- GO<CR><LF>\n")))
      << text;
  std::remove(path);

  std::string error;
  EXPECT_FALSE(log.Open("/nonexistent/qrv/traffic.log", &error));
  EXPECT_EQ(error, "No such file or directory");
}

}  // namespace
}  // namespace qrv
