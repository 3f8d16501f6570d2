#include "panel/network_line_boxes.h"

#include <QCoreApplication>
#include <QWidget>

namespace lq {

void ShowLineBoxesFor(bool networkPortOpen, QWidget* baudBox, QWidget* framingBox) {
    const QString why =
        networkPortOpen
            ? QCoreApplication::translate(
                  "NetworkLineBoxes", "经串口服务器 (serial device server) 连接时不起作用：波特率和数据格式"
                                      "在服务器自己的串口设置里改。")
            : QString();
    for (QWidget* box : {baudBox, framingBox}) {
        box->setEnabled(!networkPortOpen);
        box->setToolTip(why);
    }
}

} // namespace lq
