#include "app/qtprompts.h"
#include "app/startup.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QtPrompts prompts;
    Startup startup(prompts);
    return app.exec();
}
