#pragma once

#include <QByteArray>

#include <optional>

#include <sys/un.h>

namespace brantock::platform {

// The few socket calls the simulated port and its peer share.
class UnixSocket {
public:
    // Nothing for a path that is empty or too long for a socket address.
    static std::optional<sockaddr_un> address(const QByteArray& path);
    // Sends everything (without SIGPIPE); false once the other side is gone.
    static bool sendAll(int fd, const QByteArray& bytes);
};

} // namespace brantock::platform
