#pragma once

#include <cstddef>
#include <string>

#include "config_file.h"
#include "display_config.h"

namespace qrv {

// A configuration is about 10 KB; anything much larger is not one.
constexpr std::size_t kMaxConfigFileBytes = std::size_t{1} << 20;

// Reads a .dat file over config (as ReadConfigFile does) and says how far it went. Only a
// regular file of at most 1 MiB is read, and a FIFO or a device is refused without waiting
// on it. False with a one-line reason, config untouched.
bool LoadConfigFile(const std::string& path, DisplayConfig& config, ConfigFileExtent* extent,
                    std::string* why);

// The bytes of a file, under the rules of LoadConfigFile, for the other files the program
// reads (CSV). False with a one-line reason.
bool LoadFileBytes(const std::string& path, std::string& bytes, std::string* why);

// Whether SaveConfigFile could write path, for callers with long work before the write.
bool CheckConfigTarget(const std::string& path, std::string* why);

// Writes a .dat file whole or not at all: into a temporary file beside it, renamed over it
// with the old file's mode. A symbolic link is followed; anything but a regular file is
// refused. Where no temporary file can be made, a writable file is written in place. False
// with a one-line reason, the old file untouched and no temporary file left, also when the
// process is told to end (SIGINT, SIGTERM, SIGHUP) or passes its file-size limit.
bool SaveConfigFile(const std::string& path, const DisplayConfig& config, std::string* why);

// Writes data to path under the same rules as SaveConfigFile, for the other files the
// program makes (pictures of the board).
bool SaveFileBytes(const std::string& path, const std::string& data, std::string* why);

}  // namespace qrv
