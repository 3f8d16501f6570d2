#pragma once

#include <stdexcept>
#include <string>

namespace lq {

// Raised only by TComm::OpenPort; the message is one of its fixed English texts.
class ECommsError : public std::runtime_error {
public:
    explicit ECommsError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace lq
