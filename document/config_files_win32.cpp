#include <windows.h>

#include <atomic>
#include <cwchar>
#include <mutex>

#include "config_files.h"
#include "text_format.h"
#include "translation.h"
#include "win32_text.h"

namespace qrv {
namespace {

// What could not be done to a file: kRead or kWrite, with the file and the reason put in.
constexpr char kRead[] = QRV_TEXT("cannot read {1}: {2}");
constexpr char kWrite[] = QRV_TEXT("cannot write {1}: {2}");

bool Fail(std::string* why, const char* what, const std::string& path, const std::string& reason) {
  if (why) *why = Format(Tr(what), {path, reason});
  return false;
}

bool Fail(std::string* why, const char* what, const std::string& path, DWORD error) {
  return Fail(why, what, path, Win32ErrorText(error));
}

class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return h_; }
  bool ok() const { return h_ != INVALID_HANDLE_VALUE; }
  bool Close() {
    const bool closed = !ok() || CloseHandle(h_) != 0;
    h_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE h_;
};

DWORD WriteAll(HANDLE file, const std::string& data) {
  std::size_t done = 0;
  while (done < data.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size() - done, 1 << 20));
    DWORD n = 0;
    if (!WriteFile(file, data.data() + done, chunk, &n, nullptr)) return GetLastError();
    done += n;
  }
  return 0;
}

// The file a save writes: where a link ends, and whether one is there now.
struct Target {
  std::wstring path;
  bool exists = false;
  DWORD attributes = 0;
};

// A named thing that is not a file on a disk (a device such as NUL or COM1, a pipe).
bool IsDiskFile(HANDLE file) {
  return GetFileType(file) == FILE_TYPE_DISK;
}

bool FindTarget(const std::string& path, Target& target, std::string* why) {
  const std::wstring wide = WideFromAnsi(path);
  // Opened without asking for data, so a device answers without being used.
  Handle file(CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file.ok()) {
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND) return Fail(why, kWrite, path, error);
    target.path = wide;
    return true;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!IsDiskFile(file.get()) || !GetFileInformationByHandle(file.get(), &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return Fail(why, kWrite, path, Tr("not a regular file"));
  // The operator marked it read-only: refuse, as for any file this user may not write.
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0)
    return Fail(why, kWrite, path, ERROR_ACCESS_DENIED);
  wchar_t final_path[32768];
  const DWORD size = GetFinalPathNameByHandleW(file.get(), final_path, 32768, FILE_NAME_NORMALIZED);
  target.path = size > 0 && size < 32768 ? std::wstring(final_path, size) : wide;
  target.exists = true;
  target.attributes = info.dwFileAttributes;
  return true;
}

// Where no temporary file can be made beside the target: the old contents are lost if this
// fails halfway, but the file can be saved.
bool WriteInPlace(const Target& target, const std::string& path, const std::string& data,
                  std::string* why) {
  Handle file(CreateFileW(target.path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.ok()) return Fail(why, kWrite, path, GetLastError());
  DWORD error = WriteAll(file.get(), data);
  if (error == 0 && !SetEndOfFile(file.get())) error = GetLastError();
  if (error == 0 && !FlushFileBuffers(file.get())) error = GetLastError();
  if (!file.Close() && error == 0) error = GetLastError();
  return error == 0 || Fail(why, kWrite, path, error);
}

// Marks the temporary file to go when its handle closes, so that a save cut short in any way
// (Ctrl-C, the process ended) leaves none behind; cleared once the file is whole.
bool DeleteOnClose(HANDLE file, bool drop) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = drop ? TRUE : FALSE;
  return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
}

std::mutex save_turn;

}  // namespace

bool LoadFileBytes(const std::string& path, std::string& bytes, std::string* why) {
  bytes.clear();
  Handle file(CreateFileW(WideFromAnsi(path).c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file.ok()) return Fail(why, kRead, path, GetLastError());
  BY_HANDLE_FILE_INFORMATION info{};
  if (IsDiskFile(file.get()) && GetFileInformationByHandle(file.get(), &info) &&
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return Fail(why, kRead, path, Tr("Is a directory"));
  if (!IsDiskFile(file.get())) return Fail(why, kRead, path, Tr("not a regular file"));
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file.get(), &size) && static_cast<unsigned long long>(size.QuadPart) >
                                              static_cast<unsigned long long>(kMaxConfigFileBytes))
    return Fail(why, kRead, path, Tr("larger than 1 MiB, not a configuration"));
  // The file may grow while it is read: one byte past the limit is enough to tell.
  char buffer[8192];
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(file.get(), buffer, sizeof buffer, &n, nullptr))
      return Fail(why, kRead, path, GetLastError());
    if (n == 0) break;
    bytes.append(buffer, n);
    if (bytes.size() > kMaxConfigFileBytes)
      return Fail(why, kRead, path, Tr("larger than 1 MiB, not a configuration"));
  }
  return true;
}

bool CheckConfigTarget(const std::string& path, std::string* why) {
  Target target;
  return FindTarget(path, target, why);
}

bool SaveFileBytes(const std::string& path, const std::string& data, std::string* why) {
  Target target;
  if (!FindTarget(path, target, why)) return false;

  const std::lock_guard<std::mutex> turn(save_turn);
  static std::atomic<unsigned> counter{0};
  const std::wstring temp = target.path + L"." + std::to_wstring(GetCurrentProcessId()) + L"." +
                            std::to_wstring(counter++) + L".tmp";
  Handle file(CreateFileW(temp.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.ok()) {
    const DWORD error = GetLastError();
    return target.exists ? WriteInPlace(target, path, data, why) : Fail(why, kWrite, path, error);
  }
  DWORD error = DeleteOnClose(file.get(), true) ? 0 : GetLastError();
  if (error == 0) error = WriteAll(file.get(), data);
  // The old file's attributes (hidden, archive), which not every ReplaceFileW carries over.
  FILE_BASIC_INFO basic{};
  basic.FileAttributes = target.attributes;
  if (error == 0 && target.exists &&
      !SetFileInformationByHandle(file.get(), FileBasicInfo, &basic, sizeof basic))
    error = GetLastError();
  if (error == 0 && !FlushFileBuffers(file.get())) error = GetLastError();
  if (error != 0) return Fail(why, kWrite, path, error);  // closing the handle removes it
  if (!DeleteOnClose(file.get(), false)) {
    error = GetLastError();
    return Fail(why, kWrite, path, error);
  }
  if (!file.Close()) error = GetLastError();
  // ReplaceFileW keeps the old file's attributes, security and creation time; a new file
  // is moved into place, written through before the move returns.
  if (error == 0 &&
      !(target.exists ? ReplaceFileW(target.path.c_str(), temp.c_str(), nullptr,
                                     REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
                      : MoveFileExW(temp.c_str(), target.path.c_str(), MOVEFILE_WRITE_THROUGH)))
    error = GetLastError();
  if (error != 0) {
    DeleteFileW(temp.c_str());
    return Fail(why, kWrite, path, error);
  }
  return true;
}

}  // namespace qrv
