#include "panel/journal/journal_wording_zh.h"

#include <QCoreApplication>

namespace lq {

namespace {

std::string T(const char* text) {
    return QCoreApplication::translate("Journal", text).toStdString();
}

} // namespace

JournalWording PanelJournalWording() {
    JournalWording w;
    w.alarmOn = T("报警 %1 出现");
    w.alarmOff = T("报警 %1 消失");
    w.alarmAck = T("报警 %1 已确认");
    w.linkLost = T("通讯中断：%1");
    w.noReply = T("无应答 (no reply)");
    w.badCrc = T("CRC 错误");
    w.exception = T("异常应答 (exception) %1");
    w.shortReply = T("应答不完整 (short reply)");
    w.linkRestored = T("通讯恢复");
    w.portOpened = T("打开串口 %1");
    w.portClosed = T("关闭串口 %1");
    w.portLost = T("串口 %1 已断开 (port lost)：%2");
    w.write = T("写 %1 = %2（原 %3）：%4，发送 %5 次");
    w.confirmed = T("已确认");
    w.refused = T("被拒绝，异常码 %1");
    w.unconfirmed = T("未确认");
    w.superseded = T("被新命令取代");
    w.notSent = T("未发送");
    w.runState = T("控制器运行状态变为 %1（非本面板命令）");
    w.settings = T("线路设置 %1（%2）");
    w.recordingStarted = T("开始记录 %1");
    w.recordingStopped = T("停止记录 %1");
    return w;
}

} // namespace lq
