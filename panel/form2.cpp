#include "form2.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "panel/panel_colors.h"
#include "panel/panel_fonts.h"

namespace lq {

namespace {

QLabel* MaroonLabel(QWidget* parent, const QString& caption, int left, int top) {
    auto* label = new QLabel(caption, parent);
    label->setStyleSheet(QString("color: %1;").arg(kMaroon.name()));
    label->move(left, top);
    label->adjustSize();
    return label;
}

QLineEdit* ParameterEdit(QWidget* parent, int left, int top) {
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(left, top, 41, 21);
    edit->setStyleSheet(QString("background: %1;").arg(kScrollBarColour.name()));
    return edit;
}

} // namespace

TForm2::TForm2(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("Form2");
    setWindowTitle(tr("修改参数"));
    setFont(SansFont(11));
    // 394 x 227 outside the frame; the client area holds the 385 x 193 panel.
    resize(386, 194);
    move(730, 394);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kButtonFace);
    setPalette(pal);

    Panel1 = new QFrame(this);
    Panel1->setGeometry(0, 0, 385, 193);
    Panel1->setAutoFillBackground(true);
    pal.setColor(QPalette::Window, kSkyBlue);
    Panel1->setPalette(pal);

    Label1 = MaroonLabel(Panel1, tr("小数点: "), 24, 24);
    Edit1 = ParameterEdit(Panel1, 72, 16);
    Label3 = MaroonLabel(Panel1, tr("菜单自动 "), 8, 56);
    Label4 = MaroonLabel(Panel1, tr("退出时间: "), 8, 72);
    Edit2 = ParameterEdit(Panel1, 72, 64);
    Label2 = MaroonLabel(Panel1, tr("输入信号: "), 8, 112);
    Edit3 = ParameterEdit(Panel1, 72, 104);
    Label5 = MaroonLabel(Panel1, tr("下限值:"), 152, 24);
    Edit4 = ParameterEdit(Panel1, 200, 16);
    Label6 = MaroonLabel(Panel1, tr("上限值:"), 152, 72);
    Edit5 = ParameterEdit(Panel1, 200, 64);
    Label7 = MaroonLabel(Panel1, tr("迂回值:"), 152, 112);
    Edit6 = ParameterEdit(Panel1, 200, 104);

    BitBtn1 = new QPushButton(tr("确定"), Panel1);
    BitBtn1->setGeometry(96, 144, 89, 25);
    BitBtn1->setStyleSheet("color: blue;");
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });

    // Tab order as laid out: the three left fields, the button, then the three right fields.
    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Edit3);
    setTabOrder(Edit3, BitBtn1);
    setTabOrder(BitBtn1, Edit4);
    setTabOrder(Edit4, Edit5);
    setTabOrder(Edit5, Edit6);

    hide();
}

void TForm2::BitBtn1Click() {
    close();
}

} // namespace lq
