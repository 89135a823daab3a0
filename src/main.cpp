#include "app/startup.h"
#include "composition.h"
#include "platform/qtprompts.h"
#include "preview/previewengine.h"

#include <QApplication>

int main(int argc, char** argv)
{
    // The toolkit must not take a file named "-reverse" given after "--"
    // for one of its options.
    CommandLine commandLine(argc, argv);
    preview::prepareEngine();
    QApplication app(commandLine.toolkitArgc(), commandLine.toolkitArgv());
    QtPrompts prompts;
    Startup startup(prompts, composeUnits, commandLine.files(app.arguments()));
    return app.exec();
}
