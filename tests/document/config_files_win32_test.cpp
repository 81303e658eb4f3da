#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "config_files.h"
#include "saved_bytes.h"
#include "scratch_folder.h"

namespace qrv {
namespace {

std::size_t FilesIn(const std::string& folder) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

// What Windows lets the writer keep of its promises: nothing waits on a device or reads more
// than a configuration's size; only files on a disk are written over, whole, keeping their
// attributes; a read-only file is refused; no temporary file is left, also when a save fails;
// a name with no room for a temporary one beside it is written in place.
TEST(ConfigFilesWin32, OnlyDiskFilesAreReadOrWrittenOverWholeOrNotAtAll) {
  ScratchFolder dir;
  DisplayConfig config;
  config.position_h = 7;
  std::string why;
  // A pipe that nobody writes to would hold a reader for ever.
  const char pipe[] = "\\\\.\\pipe\\qrv-config-files-test";
  HANDLE ends[3];  // for the read, the check and the save
  for (HANDLE& end : ends) {
    end = CreateNamedPipeA(pipe, PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE, 3, 0, 0, 0, nullptr);
    ASSERT_NE(end, INVALID_HANDLE_VALUE);
  }
  for (const std::string& device : {std::string("NUL"), std::string(pipe)}) {
    EXPECT_FALSE(LoadConfigFile(device, config, nullptr, &why)) << device;
    EXPECT_NE(why.find("not a regular file"), std::string::npos) << why;
    EXPECT_FALSE(CheckConfigTarget(device, &why) || SaveConfigFile(device, config, &why));
    EXPECT_NE(why.find("not a regular file"), std::string::npos) << why;
  }
  std::ofstream(dir / "big.dat", std::ios::binary) << std::string(2 << 20, '1');
  for (HANDLE end : ends) CloseHandle(end);
  EXPECT_FALSE(LoadConfigFile(dir / "big.dat", config, nullptr, &why));
  EXPECT_NE(why.find("larger than 1 MiB"), std::string::npos) << why;
  EXPECT_FALSE(LoadConfigFile(dir / "", config, nullptr, &why));
  EXPECT_NE(why.find("Is a directory"), std::string::npos) << why;

  const std::string kept = dir / "kept.dat";
  EXPECT_TRUE(SaveConfigFile(kept, DisplayConfig(), &why)) << why;
  ASSERT_TRUE(SetFileAttributesA(kept.c_str(), FILE_ATTRIBUTE_HIDDEN));
  EXPECT_TRUE(SaveConfigFile(kept, config, &why)) << why;
  EXPECT_EQ(Contents(kept), Written(config));
  EXPECT_NE(GetFileAttributesA(kept.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
  ConfigFileExtent extent;
  DisplayConfig read;
  EXPECT_TRUE(LoadConfigFile(kept, read, &extent, &why) && extent.complete() &&
              read.position_h == 7);

  const std::string locked = dir / "locked.dat";
  std::ofstream(locked) << "old";
  ASSERT_TRUE(SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(SaveConfigFile(locked, config, &why));
  EXPECT_EQ(Contents(locked), "old");
  SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_FALSE(SaveConfigFile(dir / "no/such/folder.dat", config, &why));

  const std::string full = dir / (std::string(250, 'x') + ".dat");
  std::ofstream(full) << std::string(8000, 'x');
  EXPECT_TRUE(SaveConfigFile(full, config, &why)) << why;
  EXPECT_EQ(Contents(full), Written(config));
  EXPECT_EQ(FilesIn(dir / ""), 4u);  // big, kept, locked, full: no temporary file
}

}  // namespace
}  // namespace qrv
