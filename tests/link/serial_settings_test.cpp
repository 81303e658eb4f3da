#include "serial_settings.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

namespace qrv {
namespace {

namespace fs = std::filesystem;

class SerialSettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = ::testing::TempDir() + "/qrv_settings_XXXXXX";
    ASSERT_NE(mkdtemp(dir_.data()), nullptr);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  void Put(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }
  std::string Get(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  std::string Read(const std::string& name) const {
    const SerialSettings s = ReadSerialSettings(Path(name));
    return std::to_string(s.com_port) + " " + std::to_string(s.com_control) + " " + s.com_device;
  }
  std::string dir_;
};

TEST_F(SerialSettingsFile, ReadsFirstMatchingSectionAndKeyOrZero) {
  const std::pair<const char*, const char*> cases[] = {
      {nullptr, "0 0 "},
      {"[Other]\ncom_port=3\ncom_control=1\n", "0 0 "},
      {"[QRV-470KSE_Section]\nfoo=1\n[Other]\ncom_port=3\ncom_device=x\n", "0 0 "},
      {"[Other]\ncom_port=5\ncom_control=1\n[QRV-470KSE_Section]\ncom_port=1\n", "1 0 "},
      {"\xEF\xBB\xBF  [ qrv-470kse_section ]  \r\n;com_control=1\r\njust text\r\n\tCOM_PORT = 2 "
       "\r\ncom_port=4\r\nCom_Device =  '/dev/ttyUSB0' \r\n[QRV-470KSE_Section]\r\ncom_control=1",
       "2 0 /dev/ttyUSB0"}};
  for (const auto& [bytes, want] : cases) {
    if (bytes) Put("s.ini", bytes);
    EXPECT_EQ(Read("s.ini"), want) << (bytes ? bytes : "missing");
  }
}

TEST_F(SerialSettingsFile, NumbersReadLikeAtoiOfNineCharacters) {
  const char* raw[] = {"3",   "3abc",         "x",          "",           " 4",    "-2",   "+5",
                       "7",   "2 3",          "1234567890", "-123456789", "\"2\"", "'-3'", "\" 6\"",
                       "\"7", "\"123456789\""};
  const int want[] = {3, 3, 0, 0, 4, -2, 5, 7, 2, 123456789, -12345678, 2, -3, 6, 0, 123456789};
  for (std::size_t i = 0; i < std::size(raw); ++i) {
    Put("s.ini",
        std::string("[QRV-470KSE_Section]\ncom_control=") + raw[i] + "\ncom_port=" + raw[i]);
    const std::string n = std::to_string(want[i]);
    EXPECT_EQ(Read("s.ini"), n + " " + n + " ") << raw[i];
  }
}

TEST_F(SerialSettingsFile, WriteChangesOnlyTheValueOrAddsTheKey) {
  const std::pair<std::string, std::string> cases[] = {
      {"[Other]\nx=1", "[Other]\nx=1\n\n[QRV-470KSE_Section]\ncom_port=2\ncom_control=1\n"},
      {"[Other]\r\n\r\n", "[Other]\r\n\r\n[QRV-470KSE_Section]\r\ncom_port=2\r\ncom_control=1\r\n"},
      {"[QRV-470KSE_Section]", "[QRV-470KSE_Section]\ncom_port=2\ncom_control=1\n"},
      {"[QRV-470KSE_Section]\ncom_control=", "[QRV-470KSE_Section]\ncom_control=1\ncom_port=2\n"},
      {"; QRV\r\n[Other]\r\ncom_port=5\r\n\r\n[qrv-470kse_section]\r\ncom_device=/dev/ttyUSB1\r\n"
       " com_port = \"3\"  \r\ncom_port=9\r\n\r\n[Tail]\r\nk=v",
       "; QRV\r\n[Other]\r\ncom_port=5\r\n\r\n[qrv-470kse_section]\r\ncom_device=/dev/ttyUSB1\r\n"
       " com_port = 2  \r\ncom_port=9\r\ncom_control=1\r\n\r\n[Tail]\r\nk=v"}};
  for (const auto& [before, after] : cases) {
    Put("s.ini", before);
    ASSERT_TRUE(WriteSerialSetting(Path("s.ini"), "com_port", 2)) << before;
    ASSERT_TRUE(WriteSerialSetting(Path("s.ini"), "com_control", 1)) << before;
    EXPECT_EQ(Get("s.ini"), after) << before;
  }
  EXPECT_EQ(Read("s.ini"), "2 1 /dev/ttyUSB1");
}

TEST_F(SerialSettingsFile, WriteCreatesFollowsLinksOrReportsFailure) {
  const std::string path = Path("a/b/qrv470kse.ini");
  ASSERT_TRUE(WriteSerialSetting(path, "com_port", 2));
  EXPECT_EQ(Get("a/b/qrv470kse.ini"), "[QRV-470KSE_Section]\ncom_port=2\n");
  ASSERT_TRUE(WriteSerialSetting(path, "com_port", -1));
  EXPECT_EQ(Read("a/b/qrv470kse.ini"), "-1 0 ");
  // Only the file itself: no temporary left behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(Path("a/b")), fs::directory_iterator()), 1);

  Put("real.ini", "[QRV-470KSE_Section]\ncom_port=1\n");
  fs::create_symlink("real.ini", Path("link.ini"));
  ASSERT_TRUE(WriteSerialSetting(Path("link.ini"), "com_port", 3));
  EXPECT_TRUE(fs::is_symlink(Path("link.ini")));
  EXPECT_EQ(Get("real.ini"), "[QRV-470KSE_Section]\ncom_port=3\n");

  Put("plain", "x");  // a regular file where a directory should be
  EXPECT_FALSE(WriteSerialSetting(Path("plain/qrv470kse.ini"), "com_port", 1));
  EXPECT_FALSE(WriteSerialSetting(dir_, "com_port", 1));
  EXPECT_FALSE(WriteSerialSetting(Path("s.ini"), "com=port", 1));
  EXPECT_EQ(Get("plain"), "x");
  EXPECT_FALSE(fs::exists(Path("s.ini")));
}

TEST(SerialSettingsPath, XdgConfigHomeThenHome) {
  const char* names[] = {"XDG_CONFIG_HOME", "HOME"};
  std::optional<std::string> saved[2];
  for (int i = 0; i < 2; ++i) {
    if (const char* v = std::getenv(names[i])) saved[i] = v;
    setenv(names[i], i == 0 ? "/xdg/conf" : "/home/op", 1);
  }
  EXPECT_EQ(DefaultSettingsPath(), "/xdg/conf/qrv470kse.ini");
  setenv("XDG_CONFIG_HOME", "relative", 1);
  EXPECT_EQ(DefaultSettingsPath(), "/home/op/.config/qrv470kse.ini");
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(DefaultSettingsPath(), "/home/op/.config/qrv470kse.ini");
  unsetenv("HOME");
  if (const passwd* pw = getpwuid(getuid())) {
    EXPECT_EQ(DefaultSettingsPath(), std::string(pw->pw_dir) + "/.config/qrv470kse.ini");
  }
  for (int i = 0; i < 2; ++i)
    saved[i] ? setenv(names[i], saved[i]->c_str(), 1) : unsetenv(names[i]);
}

}  // namespace
}  // namespace qrv
