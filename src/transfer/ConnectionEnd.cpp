#include "transfer/ConnectionEnd.h"

#ifdef Q_OS_WIN
#include <winsock2.h>
#else
#include <cerrno>
#include <sys/socket.h>
#endif

namespace ConnectionEnd {

State Peek(qintptr descriptor)
{
    char byte = 0;
#ifdef Q_OS_WIN
    const int result = ::recv(SOCKET(descriptor), &byte, 1, MSG_PEEK);
    if (result > 0)
        return State::DataWaiting;
    if (result == 0)
        return State::Closed;
    const int error = ::WSAGetLastError();
    if (error == WSAEWOULDBLOCK)
        return State::NothingYet;
    return error == WSAECONNRESET ? State::Reset : State::Failed;
#else
    ssize_t result = 0;
    do {
        result = ::recv(int(descriptor), &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    } while (result < 0 && errno == EINTR);
    if (result > 0)
        return State::DataWaiting;
    if (result == 0)
        return State::Closed;
    if (errno == EAGAIN || errno == EWOULDBLOCK)
        return State::NothingYet;
    return errno == ECONNRESET ? State::Reset : State::Failed;
#endif
}

} // namespace ConnectionEnd
