// Wenlock: the wizard that collects a Keil project's conversion settings and runs Tamsel.
#include "wenlock.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    Wenlock wizard;
    QApplication::setWindowIcon(wizard.windowIcon());
    wizard.show();
    return application.exec();
}
