// The command units the main window wires up, one line each.  They make
// their windows as they are built, so the order here is the order in which
// the long-lived windows come to exist.
#include "app/units.h"

#include "app/editcommands.h"
#include "app/filecommands.h"
#include "app/tfmmain.h"
#include "tagtree/tagtreeunit.h"
#include "optioner/optionerunit.h"
#include "charset/sjiscommand.h"

std::vector<std::unique_ptr<QObject>> createCommandUnits(TFmMain& main)
{
    std::vector<std::unique_ptr<QObject>> units;
    units.push_back(std::make_unique<FileCommands>(main));
    units.push_back(std::make_unique<EditCommands>(main));
    units.push_back(std::make_unique<TagOptionerUnit>(main));
    units.push_back(std::make_unique<SjisCommandUnit>(main));
    main.createVersionWindow();
    units.push_back(std::make_unique<TagTreeUnit>(main));
    return units;
}
