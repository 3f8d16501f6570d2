#include "panel/network_open_failure.h"

#include <QCoreApplication>
#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <system_error>

#include "serial/network_port_name.h"

namespace lq {

namespace {

// The resolver's codes are negative, the system's errno positive.
QString SystemReason(int error) {
    if (error < 0) return QString::fromUtf8(gai_strerror(error));
    const char* name = strerrorname_np(error);
    return QStringLiteral("%1 (%2)").arg(QString::fromStdString(std::system_category().message(error)),
                                         name != nullptr ? QString::fromUtf8(name) : QString::number(error));
}

QString Hint(int error) {
    if (error < 0)
        return QCoreApplication::translate(
            "NetworkOpenFailure",
            "找不到这个主机名 (name not found)：检查拼写和本机的 DNS 设置，或者直接填 IP 地址。");
    switch (error) {
    case ECONNREFUSED:
        return QCoreApplication::translate(
            "NetworkOpenFailure",
            "主机在，但这个端口没有服务 (connection refused)：检查端口号，串口服务器是否设成 TCP 服务器 "
            "(TCP server) 模式；有的设备同时只接受一个连接，先断开别的程序。");
    case EHOSTUNREACH:
    case ENETUNREACH:
    case EHOSTDOWN:
        return QCoreApplication::translate(
            "NetworkOpenFailure",
            "到不了这台主机 (no route to host)：检查网线、IP 地址，以及本机和设备是否在同一网段。");
    case ETIMEDOUT:
        return QCoreApplication::translate(
            "NetworkOpenFailure",
            "3 秒内没有应答 (time-out)：地址不对、设备没有上电，或者防火墙丢掉了连接请求。");
    default:
        return {};
    }
}

} // namespace

bool IsNetworkOpenFailure(const TOpenError& error) {
    return LooksLikeNetworkPort(error.Path);
}

std::string NetworkOpenFailureReason(const TOpenError& error) {
    const QString name = QString::fromStdString(error.Path);
    const std::optional<NetworkPortName> parsed = ParseNetworkPortName(error.Path);
    if (!parsed)
        return (name + QStringLiteral(": ") +
                QCoreApplication::translate(
                    "NetworkOpenFailure",
                    "网络端口名应写成 tcp://主机:端口 或 modbus-tcp://主机:端口，IPv6 地址放在方括号里，"
                    "例如 tcp://[fe80::1]:4001。"))
            .toStdString();
    if (error.Step == TOpenStep::Resources)
        return QCoreApplication::translate("NetworkOpenFailure", "系统资源不足（线程或事件）。")
            .toStdString();
    const QString where = QCoreApplication::translate("NetworkOpenFailure", "主机 %1，端口 %2")
                              .arg(QString::fromStdString(parsed->host))
                              .arg(parsed->port);
    const QString hint = Hint(error.Errno);
    QString text = name + QStringLiteral("\n") + where + QStringLiteral(": ") + SystemReason(error.Errno);
    if (!hint.isEmpty()) text += QStringLiteral("\n") + hint;
    return text.toStdString();
}

} // namespace lq
