#include "serial/posix_device_ioctls.h"

#include <cerrno>
#include <sys/ioctl.h>

namespace lq::posix {

namespace {

int Result(int rc) {
    return rc == 0 ? 0 : errno;
}

class KernelDeviceIoctls final : public IDeviceIoctls {
  public:
    int GetCounters(int fd, serial_icounter_struct& counts) override {
        return Result(ioctl(fd, TIOCGICOUNT, &counts));
    }
    int GetModemLines(int fd, int& lines) override { return Result(ioctl(fd, TIOCMGET, &lines)); }
    int GetRs485(int fd, serial_rs485& settings) override { return Result(ioctl(fd, TIOCGRS485, &settings)); }
    int SetRs485(int fd, serial_rs485& settings) override { return Result(ioctl(fd, TIOCSRS485, &settings)); }
};

} // namespace

std::shared_ptr<IDeviceIoctls> KernelIoctls() {
    static const auto kernel = std::make_shared<KernelDeviceIoctls>();
    return kernel;
}

} // namespace lq::posix
