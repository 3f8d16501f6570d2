#include "recording/append_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lq {

AppendFile::AppendFile(std::string path) : path_(std::move(path))
{
    fd_ = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) {
        error_ = std::strerror(errno);
        return;
    }
    struct stat st {};
    startedEmpty_ = ::fstat(fd_, &st) == 0 && st.st_size == 0;
}

AppendFile::~AppendFile()
{
    if (fd_ >= 0) ::close(fd_);
}

void AppendFile::Fail(const std::string& reason)
{
    error_ = reason;
    ::close(fd_);
    fd_ = -1;
}

bool AppendFile::Append(std::string_view line)
{
    if (fd_ < 0) return false;
    std::string whole(line);
    whole += '\n';
    std::size_t done = 0;
    while (done < whole.size()) {
        const ssize_t n = ::write(fd_, whole.data() + done, whole.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            Fail(n < 0 ? std::strerror(errno) : "nothing written");
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    // Writing into a file that was deleted succeeds and goes nowhere anyone can read.
    struct stat st {};
    if (::fstat(fd_, &st) == 0 && st.st_nlink == 0) {
        Fail("the file was removed");
        return false;
    }
    return true;
}

} // namespace lq
