// kelmara-rede PORTA DESTINO MS MBIT [SEGUNDOS]: a relay that makes the
// loopback look like an office network. It listens on 127.0.0.1:PORTA and
// forwards every connection to 127.0.0.1:DESTINO, holding each piece of data
// MS/2 milliseconds in each direction (MS per round trip) and letting through
// at most MBIT megabits per second each way.
//
// It counts round trips: a turn of the conversation, the server answering
// what the client sent since the server last spoke (a message the client
// sends without waiting for an answer rides with the next one). On its
// standard input it takes one command a line: "?" prints
// "idas_e_voltas N bytes M primeira N1 M1" since the last reset (all
// connections, then the first one alone), "0" resets the counts.
// It stops by itself after SEGUNDOS (600 by default), or when its standard
// input closes (the program that started it ended).
#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Piece
{
    Clock::time_point due;
    std::string bytes;
};

// One direction of a connection: what was read from `from`, waiting to be written to `to`.
struct Direction
{
    int from = -1;
    int to = -1;
    std::deque<Piece> waiting;
    Clock::time_point lineFree = Clock::now(); // when the last piece has gone through the bandwidth
    bool closed = false;
};

struct Link
{
    Direction up;   // client to server
    Direction down; // server to client
    bool answered = true; // the server spoke last: its next answer ends a round trip
    bool first = false;   // the first connection the relay took
};

struct Settings
{
    int port = 0;
    int target = 0;
    double halfDelayMs = 0;
    double megabits = 0;
    int seconds = 600;
};

// Everything, and the first connection's: the program's own, where the
// reads it does beside the windows use a second one.
long long g_roundTrips = 0, g_bytes = 0, g_firstRoundTrips = 0, g_firstBytes = 0;

int listenOn(int port)
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    const int yes = 1;
    ::setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(uint16_t(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(s, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0 || ::listen(s, 16) != 0) {
        std::perror("kelmara-rede: listen");
        std::exit(1);
    }
    return s;
}

int connectTo(int port)
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(uint16_t(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(s, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0) {
        ::close(s);
        return -1;
    }
    return s;
}

void noDelay(int s)
{
    const int yes = 1;
    ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
}

// The data read now is due after the delay, and after what is ahead of it
// has passed through the line at the given bandwidth.
void take(Direction &d, std::string bytes, const Settings &settings)
{
    const auto now = Clock::now();
    const auto transfer = std::chrono::duration<double, std::milli>(double(bytes.size()) * 8.0 /
                                                                    (settings.megabits * 1000.0));
    d.lineFree = std::max(d.lineFree, now) + std::chrono::duration_cast<Clock::duration>(transfer);
    const auto due = d.lineFree + std::chrono::duration_cast<Clock::duration>(
                                      std::chrono::duration<double, std::milli>(settings.halfDelayMs));
    d.waiting.push_back({due, std::move(bytes)});
}

// Writes what is due; false when the other side is gone.
bool deliver(Direction &d)
{
    const auto now = Clock::now();
    while (!d.waiting.empty() && d.waiting.front().due <= now) {
        std::string &bytes = d.waiting.front().bytes;
        const ssize_t n = ::send(d.to, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n < 0)
            return false;
        if (size_t(n) < bytes.size()) {
            bytes.erase(0, size_t(n));
            return true;
        }
        d.waiting.pop_front();
    }
    return true;
}

void answerCommand(const std::string &line)
{
    if (line == "0") {
        g_roundTrips = g_bytes = g_firstRoundTrips = g_firstBytes = 0;
    } else if (line == "?") {
        std::printf("idas_e_voltas %lld bytes %lld primeira %lld %lld\n", g_roundTrips, g_bytes, g_firstRoundTrips,
                    g_firstBytes);
        std::fflush(stdout);
    }
}

Settings settingsFrom(int argc, char **argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "uso: kelmara-rede PORTA DESTINO MS MBIT [SEGUNDOS]\n");
        std::exit(2);
    }
    Settings s;
    s.port = std::atoi(argv[1]);
    s.target = std::atoi(argv[2]);
    s.halfDelayMs = std::atof(argv[3]) / 2.0;
    s.megabits = std::max(0.001, std::atof(argv[4]));
    if (argc > 5)
        s.seconds = std::atoi(argv[5]);
    return s;
}

} // namespace

int main(int argc, char **argv)
{
    const Settings settings = settingsFrom(argc, argv);
    const int listener = listenOn(settings.port);
    std::printf("pronto\n");
    std::fflush(stdout);
    const auto end = Clock::now() + std::chrono::seconds(settings.seconds);
    std::vector<std::unique_ptr<Link>> links;
    std::string command;
    while (Clock::now() < end) {
        std::vector<pollfd> fds{{listener, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        auto wake = end;
        for (auto &l : links)
            for (Direction *d : {&l->up, &l->down}) {
                if (!d->closed)
                    fds.push_back({d->from, POLLIN, 0});
                if (!d->waiting.empty())
                    wake = std::min(wake, d->waiting.front().due);
            }
        const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(wake - Clock::now()).count();
        ::poll(fds.data(), fds.size(), int(std::clamp<long long>(wait + 1, 0, 1000)));

        if (fds[0].revents & POLLIN) {
            const int client = ::accept(listener, nullptr, nullptr);
            const int server = client >= 0 ? connectTo(settings.target) : -1;
            if (server < 0) {
                if (client >= 0)
                    ::close(client);
            } else {
                noDelay(client);
                noDelay(server);
                auto l = std::make_unique<Link>();
                static bool firstTaken = false;
                l->first = !std::exchange(firstTaken, true);
                l->up.from = l->down.to = client;
                l->up.to = l->down.from = server;
                links.push_back(std::move(l));
            }
        }
        if (fds[1].revents & (POLLIN | POLLHUP)) {
            char c;
            const ssize_t n = ::read(STDIN_FILENO, &c, 1);
            if (n <= 0)
                break; // the program that started the relay is gone
            if (c == '\n') {
                answerCommand(command);
                command.clear();
            } else {
                command += c;
            }
        }
        for (size_t i = 2; i < fds.size(); ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            for (auto &l : links)
                for (Direction *d : {&l->up, &l->down}) {
                    if (d->from != fds[i].fd || d->closed)
                        continue;
                    char buffer[65536];
                    const ssize_t n = ::recv(d->from, buffer, sizeof buffer, 0);
                    if (n <= 0) {
                        d->closed = true;
                        continue;
                    }
                    g_bytes += n;
                    if (l->first)
                        g_firstBytes += n;
                    if (d == &l->down && !l->answered) {
                        ++g_roundTrips;
                        if (l->first)
                            ++g_firstRoundTrips;
                    }
                    l->answered = d == &l->down;
                    take(*d, std::string(buffer, size_t(n)), settings);
                }
        }
        for (auto it = links.begin(); it != links.end();) {
            Link &l = **it;
            const bool ok = deliver(l.up) && deliver(l.down);
            const bool done = (l.up.closed && l.up.waiting.empty()) || (l.down.closed && l.down.waiting.empty());
            if (!ok || done) {
                ::close(l.up.from);
                ::close(l.up.to);
                it = links.erase(it);
            } else {
                ++it;
            }
        }
    }
    return 0;
}
