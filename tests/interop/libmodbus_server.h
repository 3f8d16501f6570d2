#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "tests/serial/pty_pair.h"

typedef struct _modbus modbus_t;
typedef struct _modbus_mapping_t modbus_mapping_t;

namespace lq::interop {

// A libmodbus RTU slave on the far side of a pseudo-terminal, answering from its own holding registers on a
// thread of its own. The master under test opens DevicePath().
class LibmodbusServer {
  public:
    LibmodbusServer(int slave, int registerCount);
    ~LibmodbusServer();
    LibmodbusServer(const LibmodbusServer&) = delete;
    LibmodbusServer& operator=(const LibmodbusServer&) = delete;

    const std::string& DevicePath() const { return line_.SlavePath(); }
    int RegisterCount() const { return registerCount_; }

    // Both lock out the server thread, which holds the lock from a request's arrival until its reply is out.
    void Set(int reg, std::uint16_t value);
    std::uint16_t Get(int reg) const;

  private:
    struct ContextDeleter {
        void operator()(modbus_t* ctx) const;
    };
    struct MappingDeleter {
        void operator()(modbus_mapping_t* mapping) const;
    };
    struct Fd {
        int fd = -1;
        ~Fd();
    };

    void Serve();

    test::PtyPair line_;
    int registerCount_;
    std::unique_ptr<modbus_t, ContextDeleter> ctx_;
    std::unique_ptr<modbus_mapping_t, MappingDeleter> mapping_;
    Fd stop_;
    mutable std::mutex mutex_;
    std::thread thread_; // last: joined before anything it uses goes
};

} // namespace lq::interop
