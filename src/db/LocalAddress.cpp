// The one place that asks the operating system: the computer's name and its
// network address.
#include "db/LocalAddress.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace velmora {

namespace {

// First IPv4 address of the computer's own name; the socket library must be
// started on platforms that need it.
std::string First_Address_Of_Own_Name()
{
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0')
        return {};

    addrinfo hints {};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (getaddrinfo(name, nullptr, &hints, &found) != 0 || found == nullptr)
        return {};

    std::string text;
    for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next) {
        if (entry->ai_family != AF_INET || entry->ai_addr == nullptr)
            continue;
        const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ai_addr);
        char buffer[INET_ADDRSTRLEN] = {};
        if (inet_ntop(AF_INET, &address->sin_addr, buffer, sizeof buffer) != nullptr)
            text = buffer;
        break;
    }
    freeaddrinfo(found);
    return text;
}

} // namespace

std::string Local_IP_Address()
{
#ifdef _WIN32
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return {};
    std::string text = First_Address_Of_Own_Name();
    WSACleanup();
    return text;
#else
    return First_Address_Of_Own_Name();
#endif
}

} // namespace velmora
