#include "composition.h"

#include "app/browsercommands.h"
#include "app/editcommands.h"
#include "app/filecommands.h"
#include "app/filepanel.h"
#include "app/htmlcolouring.h"
#include "app/recovery.h"
#include "app/sjiscommand.h"
#include "app/settingsclient.h"
#include "app/tfmmain.h"
#include "builders/image/imageunit.h"
#include "builders/list/listunit.h"
#include "builders/newpage/pageunit.h"
#include "builders/table/tableunit.h"
#include "builders/sound/soundunit.h"
#include "custom/colorunit.h"
#include "custom/fontunit.h"
#include "custom/keycontrolunit.h"
#include "custom/tagmenuunit.h"
#include "optioner/optionerunit.h"
#include "tagtree/tagtreeunit.h"

#include <type_traits>

namespace {

// Makes a unit, gives it to the main window and returns it typed.  A unit
// that keeps keys of the settings file is registered for them here, so no
// unit can be made without its settings.
template <typename Unit, typename... Args>
Unit* make(TFmMain& main, Args&&... args)
{
    auto unit = std::make_unique<Unit>(std::forward<Args>(args)...);
    Unit* raw = unit.get();
    main.adoptUnit(std::move(unit));
    if constexpr (std::is_base_of_v<SettingsClient, Unit>)
        main.addSettingsClient(*raw);
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
    u.pages = make<PageBuilderUnit>(main, main);
    u.edit = make<EditCommands>(main, main);
    u.optioner = make<TagOptionerUnit>(main, main);
    u.sjis = make<SjisCommandUnit>(main, main);
    main.createVersionWindow();
    u.tagTree = make<TagTreeUnit>(main, main);
    u.image = make<ImageBuilderUnit>(main, main);
    u.sound = make<SoundBuilderUnit>(main, main);
    u.filePanel = make<FilePanel>(main, main);
    QObject::connect(u.file, &FileCommands::filesChanged, u.filePanel, &FilePanel::refresh);
    QObject::connect(u.filePanel, &FilePanel::imageRequested, u.image, &ImageBuilderUnit::openPicture);
    QObject::connect(u.filePanel, &FilePanel::soundRequested, u.sound, &SoundBuilderUnit::openSound);
    u.color = make<ColorPickerUnit>(main, main);
    u.tagMenu = make<TagMenuUnit>(main, main);
    u.keyControl = make<KeyControlUnit>(main, main);
    u.font = make<FontUnit>(main, main);
    u.table = make<TableBuilderUnit>(main, main);
    u.list = make<ListBuilderUnit>(main, main);
    u.browser = make<BrowserCommands>(main, main);
    u.coloring = make<HtmlColouringUnit>(main, main);
    u.recovery = make<RecoveryUnit>(main, main, main.options().recoveryDir,
                                    main.options().offerRecovery);
}

Units* unitsOf(const TFmMain& main)
{
    return main.findChild<Units*>(QStringLiteral("Units"), Qt::FindDirectChildrenOnly);
}
