// An independent Modbus peer for the tests, built on libmodbus:
//   modbus_peer rtu <unit>   serves on a new pseudo-terminal
//   modbus_peer tcp <unit>   serves on a loopback TCP port
// It prints what the master should open (the terminal's path or
// tcp://127.0.0.1:port) on its first line, then answers until it is
// killed, the peer goes away, or two minutes have passed.
//   modbus_peer client <host> <port> <op>...
// is a Modbus/TCP client instead (for the simulated drive): it runs the
// operations in order on one connection and prints one line for each:
//   u:UNIT         unit id of what follows (1 at first)        -> no line
//   r:ADDR:COUNT   read holding registers (protocol address)   -> "ok V..."
//   w:ADDR:VALUE   write single register (function 06)         -> "ok"
//   m:ADDR:VALUE   the same with write multiple (function 16)  -> "ok"
// A refusal prints "exception CODE", any other failure "error TEXT".
// PEER_DEBUG set in the environment makes libmodbus trace every frame.
#include <modbus.h>

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <netinet/in.h>
#include <pty.h>
#include <string>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRegisters = 10000;

// Register at address a holds a * 7 (mod 65536): values the test can predict.
modbus_mapping_t *registerBank()
{
    modbus_mapping_t *bank = modbus_mapping_new(0, 0, kRegisters, 0);
    for (int a = 0; bank && a < kRegisters; ++a)
        bank->tab_registers[a] = uint16_t(a * 7);
    return bank;
}

modbus_t *serveRtu(int unit)
{
    int pty = -1, tty = -1;
    char name[256] = {};
    termios raw {};
    cfmakeraw(&raw);
    if (openpty(&pty, &tty, name, &raw, nullptr) != 0)
        return nullptr;
    // libmodbus talks to the terminal's far side through its descriptor;
    // the device name given here is never opened.
    modbus_t *ctx = modbus_new_rtu("/dev/null", 19200, 'N', 8, 1);
    if (!ctx)
        return nullptr;
    modbus_set_slave(ctx, unit);
    modbus_set_debug(ctx, getenv("PEER_DEBUG") != nullptr);
    modbus_set_socket(ctx, pty);
    std::printf("%s\n", name);
    std::fflush(stdout);
    return ctx;
}

modbus_t *serveTcp()
{
    modbus_t *ctx = modbus_new_tcp("127.0.0.1", 0);
    if (!ctx)
        return nullptr;
    int listener = modbus_tcp_listen(ctx, 1);
    if (listener < 0)
        return nullptr;
    sockaddr_in bound {};
    socklen_t size = sizeof bound;
    getsockname(listener, reinterpret_cast<sockaddr *>(&bound), &size);
    std::printf("tcp://127.0.0.1:%d\n", ntohs(bound.sin_port));
    std::fflush(stdout);
    if (modbus_tcp_accept(ctx, &listener) < 0)
        return nullptr;
    return ctx;
}

// One operation of the client's list; false for one it cannot parse.
bool runOperation(modbus_t *ctx, const char *op)
{
    char kind = 0;
    int address = 0;
    int n = 0;
    if (std::sscanf(op, "%c:%d:%d", &kind, &address, &n) < 2 || (kind == 'r' && n > MODBUS_MAX_READ_REGISTERS))
        return false;
    uint16_t words[MODBUS_MAX_READ_REGISTERS] = {uint16_t(n)};
    int rc = 0;
    switch (kind) {
    case 'u':
        return modbus_set_slave(ctx, address) == 0;
    case 'r':
        rc = modbus_read_registers(ctx, address, n, words);
        break;
    case 'w':
        rc = modbus_write_register(ctx, address, uint16_t(n));
        break;
    case 'm':
        rc = modbus_write_registers(ctx, address, 1, words);
        break;
    default:
        return false;
    }
    if (rc >= 0) {
        std::printf("ok");
        for (int i = 0; kind == 'r' && i < rc; ++i)
            std::printf(" %d", int16_t(words[i]));
        std::printf("\n");
    } else if (errno > MODBUS_ENOBASE && errno < MODBUS_ENOBASE + 0x10) {
        std::printf("exception %d\n", errno - MODBUS_ENOBASE);
    } else {
        std::printf("error %s\n", modbus_strerror(errno));
    }
    return true;
}

int runClient(int argc, char **argv)
{
    modbus_t *ctx = modbus_new_tcp(argv[2], std::atoi(argv[3]));
    if (!ctx || modbus_connect(ctx) < 0) {
        std::fprintf(stderr, "modbus_peer: %s\n", modbus_strerror(errno));
        return 1;
    }
    modbus_set_debug(ctx, getenv("PEER_DEBUG") != nullptr);
    modbus_set_slave(ctx, 1);
    for (int i = 4; i < argc; ++i) {
        if (!runOperation(ctx, argv[i])) {
            std::fprintf(stderr, "modbus_peer: bad operation %s\n", argv[i]);
            return 2;
        }
    }
    modbus_close(ctx);
    modbus_free(ctx);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 4 && std::strcmp(argv[1], "client") == 0)
        return runClient(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s rtu|tcp <unit> | client <host> <port> <op>...\n", argv[0]);
        return 2;
    }
    alarm(120);
    const bool rtu = std::strcmp(argv[1], "rtu") == 0;
    const int unit = std::atoi(argv[2]);
    modbus_mapping_t *bank = registerBank();
    modbus_t *ctx = rtu ? serveRtu(unit) : serveTcp();
    if (!ctx || !bank) {
        std::fprintf(stderr, "modbus_peer: %s\n", modbus_strerror(errno));
        return 1;
    }
    uint8_t query[MODBUS_TCP_MAX_ADU_LENGTH];
    for (;;) {
        const int length = modbus_receive(ctx, query);
        if (length > 0) {
            modbus_reply(ctx, query, length, bank);
        } else if (length < 0 && (errno == ECONNRESET || errno == EIO || errno == EBADF)) {
            break;
        } else if (length < 0 && !rtu) {
            break; // the connection is gone
        }
    }
    modbus_mapping_free(bank);
    modbus_free(ctx);
    return 0;
}
