#include "recording/append_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lq {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// What an existing file holds, as far as the next line written to it is concerned.
struct FileEnds {
    bool holdsLine = false;   // a line end anywhere: whatever the file starts with is a line of its own
    bool endsMidLine = false; // text after the last line end (a byte-order mark alone is no text)
};

// Whether a line end comes anywhere in the file; read from the top, so a file of whole lines answers at its
// first line.
bool HoldsLineEnd(int fd) {
    char chunk[4096];
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(fd, chunk, sizeof chunk, at);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        if (std::memchr(chunk, '\n', static_cast<std::size_t>(n))) return true;
        at += n;
    }
}

bool IsByteOrderMarkAlone(int fd, off_t size) {
    char head[3];
    return size == static_cast<off_t>(kByteOrderMark.size()) && ::pread(fd, head, sizeof head, 0) == size &&
           std::string_view(head, sizeof head) == kByteOrderMark;
}

FileEnds InspectEnds(int fd) {
    struct stat st {};
    // A device, a pipe or an empty file: nothing is there to continue.
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size == 0) return {};
    char last = '\n';
    if (::pread(fd, &last, 1, st.st_size - 1) != 1) return {true, false}; // unreadable: taken as whole lines
    return {HoldsLineEnd(fd), last != '\n' && !IsByteOrderMarkAlone(fd, st.st_size)};
}

} // namespace

AppendFile::AppendFile(std::string path) : path_(std::move(path)) {
    // Opened for reading too, to see how the file ends; a file that may only be written is still appended to.
    fd_ = ::open(path_.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0 && errno == EACCES) fd_ = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd_ < 0) {
        error_ = std::strerror(errno);
        return;
    }
    const FileEnds ends = InspectEnds(fd_);
    heldNoLine_ = !ends.holdsLine;
    // A line cut off by a power cut or a crash is ended here, so that it stays one broken line to ignore
    // instead of swallowing the first whole line written after it.
    if (ends.endsMidLine) WriteAll("\n");
}

AppendFile::~AppendFile() {
    if (fd_ >= 0) ::close(fd_);
}

void AppendFile::Fail(const std::string& reason) {
    error_ = reason;
    ::close(fd_);
    fd_ = -1;
}

bool AppendFile::WriteAll(std::string_view text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd_, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            Fail(n < 0 ? std::strerror(errno) : "nothing written");
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool AppendFile::Append(std::string_view line) {
    if (fd_ < 0) return false;
    std::string whole(line);
    whole += '\n';
    if (!WriteAll(whole)) return false;
    // Writing into a file that was deleted succeeds and goes nowhere anyone can read.
    struct stat st {};
    if (::fstat(fd_, &st) == 0 && st.st_nlink == 0) {
        Fail("the file was removed");
        return false;
    }
    return true;
}

} // namespace lq
