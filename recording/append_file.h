#pragma once

#include <string>
#include <string_view>

namespace lq {

// Where a recording's lines go. The file below is the real one; tests put a fake in its place to see a full
// disk without filling one.
class ILineSink {
  public:
    virtual ~ILineSink() = default;
    // False once the sink has failed; nothing more is written after that.
    virtual bool Append(std::string_view line) = 0;
    virtual bool Failed() const = 0;
    // Why it failed, in the system's words (empty while it works).
    virtual const std::string& Error() const = 0;
};

// A text file that lines are appended to as they come, each handed to the system at once, so a crash or a
// kill loses no line already written. An existing file is appended to, never truncated, and what is appended
// always starts on a line of its own: a last line left without its end is ended first. The first failure (no
// such folder, no permission, a full disk, the file removed while recording) stops it for good and keeps the
// reason.
class AppendFile final : public ILineSink {
  public:
    explicit AppendFile(std::string path);
    ~AppendFile() override;
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;

    bool Append(std::string_view line) override;
    bool Failed() const override { return fd_ < 0; }
    const std::string& Error() const override { return error_; }

    const std::string& Path() const { return path_; }
    // True when the file held no whole line when opened (it was empty, held only a UTF-8 byte-order mark, or
    // only a line cut off), so a header belongs in it. A byte-order mark is kept: the header follows it.
    bool HeldNoLine() const { return heldNoLine_; }

  private:
    void Fail(const std::string& reason);
    bool WriteAll(std::string_view text);

    std::string path_;
    int fd_ = -1;
    bool heldNoLine_ = false;
    std::string error_;
};

} // namespace lq
