#include "panel/port_lost_notice.h"

#include <QCoreApplication>
#include <QMessageBox>

#include "serial/network_port_name.h"

namespace lq {

namespace {

const QString kNoticeName = QStringLiteral("PortLostNotice");

} // namespace

QMessageBox* FindPortLostNotice(QWidget* owner) {
    return owner->findChild<QMessageBox*>(kNoticeName, Qt::FindDirectChildrenOnly);
}

void DismissPortLostNotice(QWidget* owner) {
    if (QMessageBox* notice = FindPortLostNotice(owner)) notice->hide();
}

void ShowPortLostNotice(QWidget* owner, const QString& portName, const QString& devicePath) {
    QMessageBox* notice = FindPortLostNotice(owner);
    if (notice == nullptr) {
        notice = new QMessageBox(QMessageBox::NoIcon, QStringLiteral("LQ_Modbus RTU"), QString(),
                                 QMessageBox::Ok, owner);
        notice->setObjectName(kNoticeName);
        notice->setWindowModality(Qt::NonModal);
    }
    const QString which = portName == devicePath || devicePath.isEmpty()
                              ? portName
                              : QStringLiteral("%1 (%2)").arg(portName, devicePath);
    if (LooksLikeNetworkPort(portName.toStdString())) {
        notice->setText(
            QCoreApplication::translate("PortLostNotice",
                                        "连接已断开 (connection lost)：%1\n串口服务器关闭了连接，或者约 10 秒"
                                        "没有应答。检查网络和设备后点击“打开串口”重新连接。")
                .arg(portName));
    } else {
        notice->setText(
            QCoreApplication::translate("PortLostNotice",
                                        "串口已断开 (port lost)：%1\n插回适配器后点击“打开串口”重新打开。")
                .arg(which));
    }
    notice->show();
    notice->raise();
}

} // namespace lq
