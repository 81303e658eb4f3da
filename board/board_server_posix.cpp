#include "board_server.h"
#include "descriptor_device.h"

namespace qrv {

BoardServer::BoardServer(int fd, BoardOptions options, Log log)
    : BoardServer(BorrowDescriptor(fd), std::move(options), std::move(log)) {}

}  // namespace qrv
