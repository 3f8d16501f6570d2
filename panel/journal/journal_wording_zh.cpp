#include "panel/journal/journal_wording_zh.h"

#include <QCoreApplication>

namespace lq {

namespace {

// Each text is marked where it is written, so that the translation file collects it.
std::string T(const char* text) {
    return QCoreApplication::translate("Journal", text).toStdString();
}

} // namespace

JournalWording PanelJournalWording() {
    JournalWording w;
    w.alarmOn = T(QT_TRANSLATE_NOOP("Journal", "报警 %1 出现"));
    w.alarmOff = T(QT_TRANSLATE_NOOP("Journal", "报警 %1 消失"));
    w.alarmAck = T(QT_TRANSLATE_NOOP("Journal", "报警 %1 已确认"));
    w.linkLost = T(QT_TRANSLATE_NOOP("Journal", "通讯中断：%1"));
    w.noReply = T(QT_TRANSLATE_NOOP("Journal", "无应答 (no reply)"));
    w.badCrc = T(QT_TRANSLATE_NOOP("Journal", "CRC 错误"));
    w.exception = T(QT_TRANSLATE_NOOP("Journal", "异常应答 (exception) %1"));
    w.shortReply = T(QT_TRANSLATE_NOOP("Journal", "应答不完整 (short reply)"));
    w.linkRestored = T(QT_TRANSLATE_NOOP("Journal", "通讯恢复"));
    w.portOpened = T(QT_TRANSLATE_NOOP("Journal", "打开串口 %1"));
    w.portClosed = T(QT_TRANSLATE_NOOP("Journal", "关闭串口 %1"));
    w.portLost = T(QT_TRANSLATE_NOOP("Journal", "串口 %1 已断开 (port lost)：%2"));
    w.write = T(QT_TRANSLATE_NOOP("Journal", "写 %1 = %2（原 %3）：%4，发送 %5 次"));
    w.confirmed = T(QT_TRANSLATE_NOOP("Journal", "已确认"));
    w.refused = T(QT_TRANSLATE_NOOP("Journal", "被拒绝，异常码 %1"));
    w.unconfirmed = T(QT_TRANSLATE_NOOP("Journal", "未确认"));
    w.superseded = T(QT_TRANSLATE_NOOP("Journal", "被新命令取代"));
    w.notSent = T(QT_TRANSLATE_NOOP("Journal", "未发送"));
    w.runState = T(QT_TRANSLATE_NOOP("Journal", "控制器运行状态变为 %1（非本面板命令）"));
    w.settings = T(QT_TRANSLATE_NOOP("Journal", "线路设置 %1（%2）"));
    w.recordingStarted = T(QT_TRANSLATE_NOOP("Journal", "开始记录 %1"));
    w.recordingStopped = T(QT_TRANSLATE_NOOP("Journal", "停止记录 %1"));
    return w;
}

} // namespace lq
