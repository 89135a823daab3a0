// The command units the main window wires up, one line each.
#include "app/units.h"

#include "app/filecommands.h"
#include "app/tfmmain.h"

std::vector<std::unique_ptr<QObject>> createCommandUnits(TFmMain& main)
{
    std::vector<std::unique_ptr<QObject>> units;
    units.push_back(std::make_unique<FileCommands>(main));
    (void)main;
    return units;
}
