#include "app/form1.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Form1 form;
    form.Form_Load();
    form.show();
    return app.exec();
}
