#include "platform/udp_sender.h"

#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace torvane::platform {

void SendDatagram(const std::string& host, int port, std::string_view bytes) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (const int error = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &found); error != 0) {
        throw std::runtime_error("Cannot find host " + host + ": " + ::gai_strerror(error));
    }
    int lastError = 0;
    bool sent = false;
    for (addrinfo* a = found; a && !sent; a = a->ai_next) {
        const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            lastError = errno;
            continue;
        }
        sent = ::sendto(fd, bytes.data(), bytes.size(), 0, a->ai_addr, a->ai_addrlen) ==
               static_cast<ssize_t>(bytes.size());
        if (!sent) lastError = errno;
        ::close(fd);
    }
    ::freeaddrinfo(found);
    if (!sent) throw std::runtime_error("Cannot send to " + host + ": " + std::strerror(lastError));
}

}  // namespace torvane::platform
