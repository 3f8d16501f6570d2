// A read reply handled after its last byte, over a pseudo-terminal and over loopback TCP (RTU over TCP and
// Modbus TCP) side by side in one run, and the process's CPU time per exchange while polling each way.
//
// Each exchange: the request goes out through the serial component, the far side (this program, in the same
// thread) reads it and sends a whole read reply; latency is from the reply's last byte leaving the far side
// to its OnReceiveData call, minus the 100 ms inter-byte time-out that ends the read.
#include "bench/process_usage.h"
#include "modbus/crc16.h"
#include "serial/comm.h"
#include "serial/testing/pumped_notification_window.h"

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <netinet/in.h>
#include <pty.h>
#include <string>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

Bytes WithCrc(Bytes frame) {
    const std::uint16_t crc = lq::CalcCRC16(frame.data(), static_cast<std::int32_t>(frame.size()));
    frame.push_back(static_cast<std::uint8_t>(crc >> 8));
    frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    return frame;
}

bool ReadExactly(int fd, std::uint8_t* buffer, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = read(fd, buffer + done, count - done);
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The far side of one transport: how to reach it, the descriptor it answers on and what it answers.
struct FarSide {
    const char* label;
    std::string portName;
    int listener = -1;
    int fd = -1;
    std::size_t requestSize = 8;
    Bytes reply;
    bool echoTransaction = false; // a gateway answers with the transaction id it was sent
};

int LoopbackListener(std::uint16_t& port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof a;
    if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(fd, 1) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length) != 0) {
        std::perror("loopback listener");
        std::exit(1);
    }
    port = ntohs(a.sin_port);
    return fd;
}

void Measure(FarSide& far, int exchanges) {
    auto owned = std::make_unique<lq::serial_testing::PumpedNotificationWindow>();
    auto* window = owned.get();
    lq::TComm comm(std::move(owned));
    comm.CommName = far.portName;
    comm.SetOutx_XonXoffFlow(false);
    comm.SetInx_XonXoffFlow(false);
    comm.SetRtsControl(lq::TRtsControl::RtsDisable);
    bool got = false;
    Clock::time_point delivered{};
    comm.OnReceiveData = [&](lq::TComm*, const std::uint8_t*, std::uint16_t) {
        delivered = Clock::now();
        got = true;
    };
    comm.OpenPort();
    if (far.listener >= 0) far.fd = accept(far.listener, nullptr, nullptr);
    const Bytes request = WithCrc({0x01, 0x03, 0x00, 0x00, 0x00, 0x0A});
    const auto interval = std::chrono::milliseconds(comm.ReadIntervalTimeout());
    std::vector<double> latencies;
    const double cpuBefore = 1000 * lq::bench::CpuSeconds();
    for (int i = 0; i < exchanges; ++i) {
        got = false;
        comm.SendData(request.data(), static_cast<std::uint16_t>(request.size()));
        std::uint8_t heard[16] = {};
        if (!ReadExactly(far.fd, heard, far.requestSize)) break;
        if (far.echoTransaction) std::copy_n(heard, 2, far.reply.begin());
        if (write(far.fd, far.reply.data(), far.reply.size()) != static_cast<ssize_t>(far.reply.size()))
            break;
        const auto lastByte = Clock::now();
        if (!window->PumpUntil([&] { return got; }, 5s)) break;
        latencies.push_back(
            std::chrono::duration<double, std::milli>(delivered - lastByte - interval).count());
    }
    const double cpu = 1000 * lq::bench::CpuSeconds() - cpuBefore;
    comm.ClosePort();
    if (latencies.empty()) {
        std::printf("%-14s no exchange completed\n", far.label);
        return;
    }
    std::sort(latencies.begin(), latencies.end());
    const auto at = [&](double q) { return latencies[static_cast<std::size_t>(q * (latencies.size() - 1))]; };
    std::printf("%-14s %3zu exchanges: beyond the %lld ms interval median %.3f ms, p99 %.3f ms; CPU %.3f ms "
                "per exchange\n",
                far.label, latencies.size(), static_cast<long long>(interval.count()), at(0.5), at(0.99),
                cpu / static_cast<double>(latencies.size()));
}

} // namespace

int main(int argc, char** argv) {
    const int exchanges = argc > 1 ? std::atoi(argv[1]) : 100;
    Bytes registers(20, 0x11);
    Bytes rtuReply{0x01, 0x03, 20};
    rtuReply.insert(rtuReply.end(), registers.begin(), registers.end());
    Bytes mbapReply{0, 1, 0, 0, 0, static_cast<std::uint8_t>(rtuReply.size())};
    mbapReply.insert(mbapReply.end(), rtuReply.begin(), rtuReply.end());
    rtuReply = WithCrc(rtuReply);

    int master = -1;
    int slave = -1;
    char name[256] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        std::perror("openpty");
        return 1;
    }
    termios raw{};
    tcgetattr(master, &raw);
    cfmakeraw(&raw);
    tcsetattr(master, TCSANOW, &raw);
    FarSide pty{"pty", name, -1, master, 8, rtuReply};
    Measure(pty, exchanges);

    std::uint16_t port = 0;
    FarSide tcp{"tcp://", "", LoopbackListener(port), -1, 8, rtuReply};
    tcp.portName = "tcp://127.0.0.1:" + std::to_string(port);
    Measure(tcp, exchanges);

    FarSide gateway{"modbus-tcp://", "", LoopbackListener(port), -1, 12, mbapReply, true};
    gateway.portName = "modbus-tcp://127.0.0.1:" + std::to_string(port);
    Measure(gateway, exchanges);
    for (const FarSide* f : {&tcp, &gateway}) {
        close(f->fd);
        close(f->listener);
    }
    close(slave);
    close(master);
    return 0;
}
