#include "panel_on_line.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace lq::test {

PanelOnLine::PanelOnLine()
{
    TForm1Setup setup;
    setup.pause = pause_;
    setup.backend = backend_;
    setup.showMessage = [this](QWidget*, const QString& text) { messages << text; };
    form_ = std::make_unique<TForm1>(setup);
    form_->Timer1->stop();
    form_->Timer2->stop();
}

bool PanelOnLine::Activate()
{
    form_->show();
    form_->activateWindow();
    return QTest::qWaitForWindowActive(form_.get());
}

bool PanelOnLine::OpenLine()
{
    form_->ComboBox4->setEditText(QString::fromStdString(line_.SlavePath()));
    QTest::mouseClick(form_->BitBtn7, Qt::LeftButton);
    form_->CheckBox2->setChecked(true);
    return form_->Comm1->Connected();
}

} // namespace lq::test
