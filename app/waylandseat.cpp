#include "app/waylandseat.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QFile>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace app {
namespace {

// The Wayland wire format: each message an object id, then its size (high
// half) and opcode (low half), then its arguments in 32-bit words.
constexpr quint32 kDisplay = 1, kRegistry = 2, kCallback = 3;
constexpr quint32 kSync = 0, kGetRegistry = 1; // requests of wl_display
constexpr quint32 kGlobal = 0;                 // events of wl_registry and wl_callback

QByteArray request(quint32 object, quint32 opcode, quint32 newId)
{
    const quint32 words[] = {object, (12u << 16) | opcode, newId};
    return QByteArray(reinterpret_cast<const char*>(words), sizeof words);
}

// Reads what arrives until the sync's callback is done: whether a global
// named "wl_seat" came before it.
bool seatAnnounced(int fd)
{
    QByteArray pending;
    const QDeadlineTimer deadline(3000);
    for (;;) {
        while (pending.size() >= 8) {
            quint32 header[2];
            std::memcpy(header, pending.constData(), sizeof header);
            const quint32 size = header[1] >> 16;
            if (size < 8)
                return true; // not the protocol we know: assume a seat
            if (quint32(pending.size()) < size)
                break;
            const quint32 opcode = header[1] & 0xffff;
            if (header[0] == kCallback)
                return false;
            if (header[0] == kRegistry && opcode == kGlobal && size >= 16) {
                quint32 length = 0;
                std::memcpy(&length, pending.constData() + 12, 4);
                if (length > 0 && 16 + length <= size &&
                    QByteArrayView(pending.constData() + 16, length - 1) == "wl_seat")
                    return true;
            }
            pending.remove(0, size);
        }
        pollfd wait{fd, POLLIN, 0};
        char buffer[4096];
        const int remaining = int(deadline.remainingTime());
        if (remaining <= 0 || ::poll(&wait, 1, remaining) <= 0)
            return true;
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got <= 0)
            return true;
        pending.append(buffer, got);
    }
}

} // namespace

int ConnectToCompositor(const QProcessEnvironment& environment)
{
    const QString name = environment.value(QStringLiteral("WAYLAND_DISPLAY"));
    const QString folder = environment.value(QStringLiteral("XDG_RUNTIME_DIR"));
    if (name.isEmpty() || (!name.startsWith(QLatin1Char('/')) && folder.isEmpty()))
        return -1;
    const QByteArray path = QFile::encodeName(
        name.startsWith(QLatin1Char('/')) ? name : folder + QLatin1Char('/') + name);
    sockaddr_un address{};
    if (path.size() >= qsizetype(sizeof address.sun_path))
        return -1;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool CompositorHasSeat(const QProcessEnvironment& environment)
{
    const int fd = ConnectToCompositor(environment);
    if (fd < 0)
        return true;
    const QByteArray asked = request(kDisplay, kGetRegistry, kRegistry) + request(kDisplay, kSync, kCallback);
    const bool seat = ::send(fd, asked.constData(), size_t(asked.size()), MSG_NOSIGNAL) != asked.size() ||
                      seatAnnounced(fd);
    ::close(fd);
    return seat;
}

} // namespace app
