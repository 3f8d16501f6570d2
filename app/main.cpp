#include <QApplication>

#include "panel/form1.h"
#include "panel/form2.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    lq::TForm1 Form1;
    // Created after the main window and never shown by the panel.
    lq::TForm2 Form2;
    Form1.show();
    return app.exec();
}
