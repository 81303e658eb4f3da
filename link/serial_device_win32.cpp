#include <windows.h>

#include <algorithm>
#include <cctype>

#include "serial_device.h"
#include "win32_text.h"

namespace qrv {
namespace {

constexpr DWORD kQueueBytes = 2000;    // SetupComm, each way
constexpr DWORD kWriteLimitMs = 1000;  // an overlapped write is given up after this
// Reads that fail as aborted in a row before the port counts as gone: a line error under
// fAbortOnError aborts one read, a port that went away every one.
constexpr int kAbortsAllowed = 100;

// A COM port opened for overlapped I/O. The reader waits in a ReadFile of one byte (with no
// read time-out it ends at the first byte of an answer), then takes what the driver says is
// queued; writes are overlapped, each bounded by the write time-out.
class CommDevice : public PortDevice {
 public:
  explicit CommDevice(HANDLE port) : port_(port) {
    read_.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    write_.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  }

  ~CommDevice() override {
    // What the line has not sent is given up, so closing never waits for it.
    PurgeComm(port_, PURGE_TXABORT | PURGE_TXCLEAR | PURGE_RXABORT | PURGE_RXCLEAR);
    // The reader thread may have started them: CancelIo would end only this thread's.
    CancelIoEx(port_, nullptr);
    Settle(read_, reading_);
    Settle(write_, writing_);
    CloseHandle(port_);
    CloseHandle(read_.hEvent);
    CloseHandle(write_.hEvent);
  }

  PortEvents Wait(bool for_bytes, bool for_room, int timeout_ms, const WakePipe& wake) override {
    const HANDLE woken = reinterpret_cast<HANDLE>(wake.handle());
    if (for_bytes) StartRead();
    PortEvents events = Look(for_bytes, for_room);
    if (!events.readable && !events.gone && !events.writable) {
      HANDLE handles[3] = {woken};
      DWORD count = 1;
      if (reading_ && for_bytes) handles[count++] = read_.hEvent;
      if (writing_) handles[count++] = write_.hEvent;
      WaitForMultipleObjects(count, handles, FALSE,
                             timeout_ms < 0 ? INFINITE : static_cast<DWORD>(timeout_ms));
      events = Look(for_bytes, for_room);
    }
    events.woken = WaitForSingleObject(woken, 0) == WAIT_OBJECT_0;
    return events;
  }

  std::optional<std::size_t> Read(char* into, std::size_t size) override {
    FinishRead();
    if (failed_) return std::nullopt;
    std::size_t n = 0;
    if (has_first_ && size > 0) {
      into[n++] = first_;
      has_first_ = false;
    }
    if (reading_ || n >= size) return n;
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(port_, &errors, &status) || status.cbInQue == 0) return n;
    // Queued already, so the read ends at once.
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(status.cbInQue, size - n));
    DWORD got = 0;
    ResetEvent(read_.hEvent);
    BOOL ok = ReadFile(port_, into + n, want, &got, &read_);
    if (!ok && GetLastError() == ERROR_IO_PENDING)
      ok = GetOverlappedResult(port_, &read_, &got, TRUE);
    if (!ok) ReadFailed(GetLastError());
    n += got;
    if (n == 0 && failed_) return std::nullopt;
    return n;
  }

  std::optional<std::size_t> Write(std::string_view bytes) override {
    FinishWrite();
    if (failed_) return std::nullopt;
    if (writing_) return 0;
    // The bytes stay ours until the driver has taken them.
    sending_.assign(bytes);
    DWORD n = 0;
    ResetEvent(write_.hEvent);
    if (WriteFile(port_, sending_.data(), static_cast<DWORD>(sending_.size()), &n, &write_))
      return sending_.size();
    if (GetLastError() != ERROR_IO_PENDING) {
      failed_ = true;
      return std::nullopt;
    }
    writing_ = true;
    return sending_.size();
  }

  std::size_t Queued() override {
    FinishWrite();
    if (writing_) return sending_.size();
    DWORD errors = 0;
    COMSTAT status{};
    return ClearCommError(port_, &errors, &status) ? status.cbOutQue : 0;
  }

  void Flush() override {
    PurgeComm(port_, PURGE_TXABORT | PURGE_TXCLEAR);
    if (writing_) CancelIoEx(port_, &write_);
    Settle(write_, writing_);
  }

  void DropInput() override {
    PurgeComm(port_, PURGE_RXABORT | PURGE_RXCLEAR);
    if (reading_) CancelIoEx(port_, &read_);
    Settle(read_, reading_);
    has_first_ = false;
  }

  bool GreetsOnConnect() const override { return false; }

 private:
  PortEvents Look(bool for_bytes, bool for_room) {
    FinishRead();
    FinishWrite();
    PortEvents events;
    events.readable = for_bytes && has_first_;
    events.gone = failed_;
    events.writable = for_room && !writing_;
    return events;
  }

  void StartRead() {
    if (reading_ || has_first_ || failed_) return;
    DWORD n = 0;
    ResetEvent(read_.hEvent);
    if (ReadFile(port_, &first_, 1, &n, &read_)) {
      has_first_ = n == 1;
      aborts_ = 0;
    } else if (GetLastError() == ERROR_IO_PENDING) {
      reading_ = true;
    } else {
      ReadFailed(GetLastError());
    }
  }

  void FinishRead() {
    if (!reading_) return;
    DWORD n = 0;
    if (GetOverlappedResult(port_, &read_, &n, FALSE)) {
      reading_ = false;
      has_first_ = n == 1;
      aborts_ = 0;
    } else if (GetLastError() != ERROR_IO_INCOMPLETE) {
      reading_ = false;
      ReadFailed(GetLastError());
    }
  }

  // A line error aborts the read: it is cleared and the next read goes on. Anything else
  // (the device gone: a pulled adapter, a closed far end) ends the port.
  void ReadFailed(DWORD error) {
    DWORD errors = 0;
    COMSTAT status{};
    ClearCommError(port_, &errors, &status);
    if (error != ERROR_OPERATION_ABORTED || ++aborts_ > kAbortsAllowed) failed_ = true;
  }

  void FinishWrite() {
    if (!writing_) return;
    DWORD n = 0;
    if (GetOverlappedResult(port_, &write_, &n, FALSE)) {
      writing_ = false;  // whole, or cut short by the write time-out
    } else if (GetLastError() != ERROR_IO_INCOMPLETE) {
      writing_ = false;
      if (GetLastError() != ERROR_OPERATION_ABORTED) failed_ = true;
    }
  }

  // Waits out an operation that a purge or a cancel has ended.
  void Settle(OVERLAPPED& operation, bool& pending) {
    if (!pending) return;
    DWORD n = 0;
    GetOverlappedResult(port_, &operation, &n, TRUE);
    pending = false;
  }

  HANDLE port_;
  OVERLAPPED read_{};
  OVERLAPPED write_{};
  bool reading_ = false;
  bool has_first_ = false;
  char first_ = 0;
  bool writing_ = false;
  std::string sending_;
  bool failed_ = false;
  int aborts_ = 0;
};

PortError ErrorOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_UNIT:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_NAME:
    case ERROR_DEV_NOT_EXIST:
      return PortError::kNoDevice;
    // Windows answers a COM port held by another program with access denied.
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_BUSY:
      return PortError::kBusy;
    default:
      return PortError::kOther;
  }
}

void Fail(PortOpenResult& result, PortStatus status, DWORD error) {
  result.status = status;
  result.error = ErrorOf(error);
  result.system_text = Win32ErrorText(error);
}

// "COM3" (also COM10 and above, which need it) as the device path \\.\COM3; anything else,
// \\.\NAME included, as given.
std::string DevicePath(const std::string& device) {
  const bool com = device.size() > 3 && (device[0] == 'C' || device[0] == 'c') &&
                   (device[1] == 'O' || device[1] == 'o') &&
                   (device[2] == 'M' || device[2] == 'm') &&
                   std::all_of(device.begin() + 3, device.end(),
                               [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
  return com ? "\\\\.\\" + device : device;
}

}  // namespace

std::string PortDeviceName(std::int32_t com_port) {
  if (com_port < 0 || com_port > 5) return {};
  return "COM" + std::to_string(com_port + 1);
}

PortOpenResult OpenSerialDevice(const std::string& device) {
  PortOpenResult result;
  // Without sharing: nobody else may use the line while we hold it.
  const HANDLE port =
      CreateFileW(WideFromAnsi(DevicePath(device)).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                  nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
  if (port == INVALID_HANDLE_VALUE) {
    Fail(result, PortStatus::kCannotOpen, GetLastError());
    return result;
  }
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  if (!GetCommState(port, &dcb)) {
    Fail(result, PortStatus::kNotSerial, GetLastError());
    CloseHandle(port);
    return result;
  }
  result.device = std::make_unique<CommDevice>(port);
  // The event mask of the reader the port was made for; this reader waits in ReadFile.
  SetCommMask(port, EV_RXCHAR);
  bool set = SetupComm(port, kQueueBytes, kQueueBytes) != 0;
  // No read time-out: a read of one byte ends when the byte comes. Writes end within the limit.
  COMMTIMEOUTS timeouts{0, 0, 0, 0, kWriteLimitMs};
  set = SetCommTimeouts(port, &timeouts) != 0 && set;
  dcb.BaudRate = CBR_38400;
  dcb.ByteSize = 8;
  dcb.Parity = EVENPARITY;
  dcb.StopBits = ONESTOPBIT;
  dcb.fBinary = TRUE;
  dcb.fParity = FALSE;  // generated on transmit, not checked on receive
  dcb.fOutxCtsFlow = TRUE;
  dcb.fDtrControl = DTR_CONTROL_HANDSHAKE;
  dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
  dcb.fOutX = TRUE;
  dcb.fInX = TRUE;
  dcb.XonChar = 0x11;
  dcb.XoffChar = 0x13;
  dcb.XonLim = 512;
  dcb.XoffLim = 512;
  set = SetCommState(port, &dcb) != 0 && set;
  if (!set) {
    Fail(result, PortStatus::kNotConfigured, GetLastError());
    return result;
  }
  result.status = PortStatus::kOpened;
  return result;
}

}  // namespace qrv
