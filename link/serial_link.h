#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "link_state.h"
#include "reporter.h"
#include "serial_port.h"
#include "traffic_log.h"
#include "traffic_recorder.h"

namespace qrv {

// The serial line to the board: the port, the writer that puts frames on it and the reader
// thread that assembles the board's answers into lines.
//
// One thread (ReaderThread) owns the port device: it waits on it for answer bytes, for room
// to write and for a wake-up. So SendFrame never blocks, and a port that goes away can
// be closed and reopened without another thread still writing to it.
//
// A device "tcp://HOST:PORT" is a serial device server. Such servers may greet each new
// connection with a banner, so after every connect what precedes the board's first answer is
// dropped.
class SerialLink {
 public:
  // Called on the reader thread with each completed line, CR LF included; the GUI queues it
  // to its own thread, where the dispatcher runs.
  using LineSink = std::function<void(std::string line)>;

  // Longest time the line may take to send one frame; what it has not sent by then is
  // dropped, also what the kernel holds for a terminal (a real UART takes a frame while CTS
  // is low or the board sent XOFF).
  static constexpr int kWriteLimitMs = 1000;
  // A port that went away (or never came) is looked for again this often.
  static constexpr int kReopenPeriodMs = 1000;

  SerialLink(LinkState& link, LineSink on_line);
  ~SerialLink();
  SerialLink(const SerialLink&) = delete;
  SerialLink& operator=(const SerialLink&) = delete;

  // Opens and sets up device, showing the set-up warnings of a failure; the program goes on
  // either way. An empty device names no port. Call once, before Start.
  PortStatus OpenSerialPort(const std::string& device, Reporter& reporter);
  // The same, showing nothing: for callers that tell the user themselves (PortErrorText).
  PortOpenResult OpenPort(const std::string& device);

  // Closes the device held now and opens device instead, with the warnings of
  // OpenSerialPort; frames not yet written are dropped. The reader goes on if it ran.
  PortStatus SwitchDevice(const std::string& device, Reporter& reporter);

  // Writes every frame taken and every line handed on to log (nullptr: none). Call before
  // Start; log must outlive the link.
  void SetTrafficLog(TrafficLog* log);
  // The same for the traffic monitor's recorder.
  void SetTrafficRecorder(TrafficRecorder* recorder);

  // Hands on every line at its LF, one at a time, instead of what a read ending in LF
  // completes: for a client that sends on while answers are on their way. Call before Start.
  void HandOnEachLine();

  // Sets ReaderRunning and starts the reader thread. False when it cannot (no descriptor
  // left for its wake-up pipe, no thread to be had): the port is then let go and the program
  // goes on without a link.
  bool Start();
  // Clears ReaderRunning, wakes the reader and waits for it; the receive queue is purged.
  void Stop();

  // Hands a copy of frame to the writer and marks an answer as pending, also when no port
  // is open (the watchdog then reports "No Connect"). Returns at once. A frame longer than
  // kMaxFrameBytes is refused: false, nothing sent, nothing pending.
  bool SendFrame(std::string_view frame);

  // Serves the port on the calling thread instead of a reader thread: writes the frames
  // handed over, hands on what the board answers and looks for a lost port again, until a
  // line has been handed on or the time given has come. For a program that drives each board
  // from a thread of its own; never while the reader thread runs.
  void ServeUntil(std::chrono::steady_clock::time_point until);

  // Whether the reader holds an open port now.
  bool port_open() const;
  const std::string& device() const;

 private:
  struct Impl;
  LinkState& link_;
  std::unique_ptr<Impl> impl_;
};

}  // namespace qrv
