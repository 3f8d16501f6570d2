#include "panel/open_failure_reason.h"

#include "modbus/display_text.h"
#include "panel/network_open_failure.h"
#include "serial/port_names.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace lq {

namespace {

std::string ErrorText(int error) {
    const char* name = strerrorname_np(error);
    return std::system_category().message(error) + " (" + (name != nullptr ? name : std::to_string(error)) +
           ")";
}

std::string DeviceName(const OpenFailureFacts& f) {
    const std::string& path = f.linkTarget.empty() ? f.error.Path : f.linkTarget;
    return std::filesystem::path(path).filename().string();
}

std::string Holders(const std::vector<PortHolder>& holders) {
    std::string text;
    for (const PortHolder& h : holders)
        text += (text.empty() ? "" : ", ") + h.Command + " (pid " + std::to_string(h.Pid) + ")";
    return text;
}

std::string BusyHint(const OpenFailureFacts& f) {
    std::string hint =
        f.holders.empty()
            ? LQ_TR("OpenFailureReason", "串口正被其他程序占用（看不到是哪个程序）。")
            : Substitute(LQ_TR("OpenFailureReason", "串口正被其他程序占用：%1。"), {Holders(f.holders)});
    if (DeviceName(f).rfind("ttyACM", 0) == 0)
        hint += "\n" + LQ_TR("OpenFailureReason",
                             "ModemManager 会在 ttyACM 设备插上后探测它几秒钟：稍等再试，或用 udev 规则让 "
                             "ModemManager 不碰这个适配器 (ID_MM_DEVICE_IGNORE)。");
    return hint;
}

// A COMn with no alias falls back to its ttyS port, which is seldom what the operator meant.
std::string MissingAliasLine(const OpenFailureFacts& f) {
    if (ComPortNumber(f.chosenName) == 0) return {};
    const std::string folder = PortAliasFolder();
    if (f.error.Path.rfind(folder + "/", 0) == 0) return {};
    return Substitute(LQ_TR("OpenFailureReason", "别名 %1 不存在（%2 里没有），所以试了 %3。"),
                      {f.chosenName, folder, f.error.Path}) +
           "\n";
}

std::string MissingHint(const OpenFailureFacts& f) {
    std::string names;
    for (const SerialPortEntry& e : f.present)
        names += (names.empty() ? "" : ", ") + e.Name;
    return MissingAliasLine(f) +
           Substitute(LQ_TR("OpenFailureReason", "设备不存在。现有串口：%1"),
                      {names.empty() ? LQ_TR("OpenFailureReason", "无（适配器插好了吗？）") : names});
}

// What the operator chose first, then the device it led to; a bare device name is already in its path.
std::string Where(const OpenFailureFacts& f) {
    const std::string& path = f.error.Path;
    if (path.empty()) return LQ_TR("OpenFailureReason", "（端口名为空）");
    const std::string& chosen = f.chosenName;
    const bool chosenIsInPath = chosen.empty() || chosen == path || "/dev/" + chosen == path;
    const std::string& device = f.linkTarget.empty() ? path : f.linkTarget;
    return (chosenIsInPath ? path : chosen) + (device == path && chosenIsInPath ? "" : " → " + device);
}

std::string Hint(const OpenFailureFacts& f) {
    switch (f.error.Errno) {
    case EACCES:
    case EPERM:
        return LQ_TR("OpenFailureReason", "没有读写权限：把用户加入 dialout 组，重新登录后生效：") +
               "\nsudo usermod -aG dialout $USER";
    case EBUSY:
        return BusyHint(f);
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return MissingHint(f);
    case EIO:
        return LQ_TR("OpenFailureReason",
                     "设备没有响应：这个 ttyS 端口后面没有 UART，或者适配器正在被拔出。");
    default:
        return {};
    }
}

} // namespace

OpenFailureFacts GatherOpenFailureFacts(const TOpenError& error, const std::string& root,
                                        const std::string& procRoot) {
    OpenFailureFacts facts;
    facts.error = error;
    // A network port has no device node, no holders and no list of present devices to look up.
    if (IsNetworkOpenFailure(error)) return facts;
    std::error_code ec;
    if (std::filesystem::is_symlink(error.Path, ec)) {
        const std::filesystem::path target = std::filesystem::read_symlink(error.Path, ec);
        facts.linkTarget =
            (std::filesystem::path(error.Path).parent_path() / target).lexically_normal().string();
    }
    if (error.Errno == EBUSY) facts.holders = FindPortHolders(error.Path, procRoot);
    if (error.Errno == ENOENT || error.Errno == ENODEV || error.Errno == ENXIO)
        facts.present = FindSerialDevices(root);
    return facts;
}

OpenFailureFacts GatherOpenFailureFacts(const TComm& comm) {
    OpenFailureFacts facts = GatherOpenFailureFacts(comm.LastOpenError());
    facts.chosenName = comm.CommName;
    return facts;
}

std::string OpenFailureReason(const OpenFailureFacts& f) {
    const TOpenError& e = f.error;
    if (IsNetworkOpenFailure(e)) return NetworkOpenFailureReason(e);
    std::string where = Where(f);
    switch (e.Step) {
    case TOpenStep::NotCharDevice:
        return where + ": " + LQ_TR("OpenFailureReason", "不是串口设备 (not a character device)");
    case TOpenStep::SetupComm:
        return where + ": " + ErrorText(e.Errno) + "\n" +
               LQ_TR("OpenFailureReason", "这个设备不是终端 (tty)，不能当串口用。");
    case TOpenStep::Rs485:
        return where + ": " +
               Substitute(LQ_TR("OpenFailureReason", "驱动拒绝 RS-485 模式 (TIOCSRS485): %1"),
                          {ErrorText(e.Errno)}) +
               "\n" +
               LQ_TR("OpenFailureReason", "自动切换方向的 USB–RS-485 适配器不需要 --rs485；去掉它再打开。");
    case TOpenStep::Resources:
        return LQ_TR("OpenFailureReason", "系统资源不足（线程或事件）。");
    case TOpenStep::Open:
    case TOpenStep::None:
        break;
    }
    if (e.Errno == 0) return where;
    const std::string hint = Hint(f);
    return where + ": " + ErrorText(e.Errno) + (hint.empty() ? "" : "\n" + hint);
}

} // namespace lq
