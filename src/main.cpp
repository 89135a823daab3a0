#include "app/startup.h"
#include "composition.h"
#include "platform/qtprompts.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QtPrompts prompts;
    Startup startup(prompts, composeUnits, Startup::filesFromArguments(app.arguments()));
    return app.exec();
}
