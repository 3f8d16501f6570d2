#pragma once

#include <QWidget>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace lq {

// The parameter dialog: laid out for six controller parameters, created hidden at start-up and never shown by
// the panel. Its fields go nowhere; its OK button only hides it again.
class TForm2 : public QWidget {
    Q_OBJECT
  public:
    explicit TForm2(QWidget* parent = nullptr);

    void BitBtn1Click();

    QFrame* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLineEdit* Edit6 = nullptr;
    QPushButton* BitBtn1 = nullptr;
};

} // namespace lq
