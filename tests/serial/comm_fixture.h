#pragma once

#include "serial/comm.h"
#include "serial/testing/pumped_notification_window.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

namespace lq::test {

using namespace std::chrono_literals;

// A TComm on a pumped window, recording every event it raises.
struct CommUnderTest {
    explicit CommUnderTest(std::shared_ptr<ISerialBackend> backend = MakePosixBackend())
    {
        auto owned = std::make_unique<serial_testing::PumpedNotificationWindow>();
        window = owned.get();
        comm = std::make_unique<TComm>(std::move(owned), std::move(backend));
        comm->OnReceiveData = [this](TComm* sender, const std::uint8_t* buffer, std::uint16_t length) {
            senderOk = senderOk && sender == comm.get();
            frames.emplace_back(buffer, buffer + length);
            terminated = terminated && buffer[length] == 0;
        };
        comm->OnReceiveError = [this](TComm*, std::uint32_t flags) { errors.push_back(flags); };
        comm->OnModemStateChange = [this](TComm*, std::uint32_t flags) { modem.push_back(flags); };
        comm->OnRequestHangup = [this](TComm*) { ++hangups; };
        comm->OnSendDataEmpty = [this](TComm*) { ++empties; };
    }

    std::size_t ReceivedBytes() const
    {
        std::size_t n = 0;
        for (const auto& f : frames) n += f.size();
        return n;
    }
    std::vector<std::uint8_t> Joined() const
    {
        std::vector<std::uint8_t> all;
        for (const auto& f : frames) all.insert(all.end(), f.begin(), f.end());
        return all;
    }
    bool PumpUntilBytes(std::size_t n, std::chrono::milliseconds timeout = 5s)
    {
        return window->PumpUntil([&] { return ReceivedBytes() >= n; }, timeout);
    }
    bool PumpUntilFrames(std::size_t n, std::chrono::milliseconds timeout = 5s)
    {
        return window->PumpUntil([&] { return frames.size() >= n; }, timeout);
    }
    bool PumpUntilEmpties(int n, std::chrono::milliseconds timeout = 5s)
    {
        return window->PumpUntil([&] { return empties >= n; }, timeout);
    }
    bool PumpUntilHangups(int n, std::chrono::milliseconds timeout = 5s)
    {
        return window->PumpUntil([&] { return hangups >= n; }, timeout);
    }

    serial_testing::PumpedNotificationWindow* window = nullptr;
    std::unique_ptr<TComm> comm;
    std::vector<std::vector<std::uint8_t>> frames;
    std::vector<std::uint32_t> errors;
    std::vector<std::uint32_t> modem;
    int hangups = 0;
    int empties = 0;
    bool terminated = true;
    bool senderOk = true;
};

} // namespace lq::test
