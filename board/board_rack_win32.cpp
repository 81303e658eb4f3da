#include "board_rack.h"

#include "translation.h"

namespace qrv {

// The rack waits on a thousand sockets at once, which this build does without: on Windows
// the board tool serves one board a process.
struct BoardRack::Impl {};

BoardRack::BoardRack(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
BoardRack::~BoardRack() = default;

std::unique_ptr<BoardRack> BoardRack::Listen(const std::string&, int, int,
                                             const std::function<BoardOptions(int)>&, Log,
                                             std::string* why) {
  *why = Tr("a rack of boards is served on Linux only; on Windows run one board a process");
  return nullptr;
}

void BoardRack::Start() {}
void BoardRack::Stop() {}
void BoardRack::Run() {}
int BoardRack::size() const {
  return 0;
}
std::string BoardRack::address(int) const {
  return {};
}
void BoardRack::Load(int, const DisplayConfig&) {}
BoardState BoardRack::state(int) const {
  return {};
}
int BoardRack::frames_received(int) const {
  return 0;
}
int BoardRack::unplugged() const {
  return 0;
}

}  // namespace qrv
