#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "config_file.h"
#include "saved_bytes.h"
#include "scratch_folder.h"

namespace qrv {
namespace {

// Nothing waits on a FIFO or a device or reads more than a configuration's size; only regular
// files are written over, through a link to its end, in their own mode; a failed save leaves
// the old file and no temporary one.
TEST(ConfigFiles, OnlyRegularFilesAreReadOrWrittenOver) {
  ScratchFolder dir;
  DisplayConfig config;
  config.position_h = 7;
  std::string why;
  const std::string kept = dir / "kept.dat", link = dir / "link.dat";
  std::vector<std::string> special{dir / "fifo.dat", "/dev/zero"};
  ASSERT_EQ(mkfifo(special[0].c_str(), 0600), 0);
  if (geteuid() == 0 && mknod((dir / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0)
    special.push_back(dir / "null");
  std::ofstream(dir / "big.dat") << std::string(2 << 20, '1');
  const std::pair<std::string, std::string> unread[] = {{dir / "big.dat", "larger than 1 MiB"},
                                                        {dir / "", "Is a directory"}};
  for (const auto& [path, reason] : unread) {
    EXPECT_FALSE(LoadConfigFile(path, config, nullptr, &why));
    EXPECT_NE(why.find(reason), std::string::npos) << why;
  }
  for (const std::string& path : special) {
    EXPECT_FALSE(LoadConfigFile(path, config, nullptr, &why)) << path;
    EXPECT_FALSE(CheckConfigTarget(path, &why) || SaveConfigFile(path, config, &why)) << path;
    EXPECT_NE(why.find("not a regular file"), std::string::npos) << why;
  }
  std::ofstream(kept) << "old";
  ASSERT_EQ(chmod(kept.c_str(), 0640) + symlink("kept.dat", link.c_str()), 0);
  EXPECT_TRUE(SaveConfigFile(link, config, &why)) << why;
  struct stat st {};
  EXPECT_TRUE(lstat(link.c_str(), &st) == 0 && S_ISLNK(st.st_mode));
  EXPECT_TRUE(stat(kept.c_str(), &st) == 0 && (st.st_mode & 07777) == 0640);
  ConfigFileExtent extent;
  DisplayConfig read;
  EXPECT_TRUE(LoadConfigFile(link, read, &extent, &why) && extent.complete() &&
              read.position_h == 7);
  {
    // Past the file-size limit a write fails; the process is not killed for it.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const rlimit small{512, old.rlim_max};
    setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_FALSE(SaveConfigFile(kept, {}, &why));
    setrlimit(RLIMIT_FSIZE, &old);
  }
  EXPECT_EQ(Contents(kept), Written(config));
  // A name with no room for a temporary one beside it is written in place.
  const std::string full = dir / (std::string(250, 'x') + ".dat");
  std::ofstream(full) << std::string(8000, 'x');
  EXPECT_TRUE(SaveConfigFile(full, config, &why)) << why;
  EXPECT_EQ(Contents(full), Written(config));
  const auto files = std::distance(std::filesystem::directory_iterator(dir / ""), {});
  EXPECT_EQ(static_cast<std::size_t>(files), 4 + special.size() - 1);  // /dev/zero is not there
}

}  // namespace
}  // namespace qrv
