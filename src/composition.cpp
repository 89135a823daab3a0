#include "composition.h"

#include "app/editcommands.h"
#include "app/filecommands.h"
#include "app/sjiscommand.h"
#include "app/tfmmain.h"
#include "builders/newpage/pageunit.h"
#include "optioner/optionerunit.h"
#include "tagtree/tagtreeunit.h"

namespace {

// Makes a unit, gives it to the main window and returns it typed.
template <typename Unit, typename... Args>
Unit* make(TFmMain& main, Args&&... args)
{
    auto unit = std::make_unique<Unit>(std::forward<Args>(args)...);
    Unit* raw = unit.get();
    main.adoptUnit(std::move(unit));
    return raw;
}

} // namespace

void composeUnits(TFmMain& main)
{
    auto registry = std::make_unique<Units>();
    registry->setObjectName(QStringLiteral("Units"));
    registry->setParent(&main);   // found again by unitsOf(); owned by adoptUnit
    Units& u = *registry;
    main.adoptUnit(std::move(registry));

    // The order is the order in which the long-lived windows come to exist.
    u.file = make<FileCommands>(main, main);
    main.addSettingsClient(*u.file);
    u.pages = make<PageBuilderUnit>(main, main);
    u.edit = make<EditCommands>(main, main);
    main.addSettingsClient(*u.edit);
    u.optioner = make<TagOptionerUnit>(main, main);
    u.sjis = make<SjisCommandUnit>(main, main);
    main.createVersionWindow();
    u.tagTree = make<TagTreeUnit>(main, main);
    main.addSettingsClient(*u.tagTree);
}

Units* unitsOf(const TFmMain& main)
{
    return main.findChild<Units*>(QStringLiteral("Units"), Qt::FindDirectChildrenOnly);
}
