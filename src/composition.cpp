#include "composition.h"

#include "app/browsercommands.h"
#include "app/documentload.h"
#include "app/documents.h"
#include "app/editcommands.h"
#include "app/encodingcommands.h"
#include "app/filecommands.h"
#include "app/filepanel.h"
#include "app/htmlcolouring.h"
#include "app/mainlayout.h"
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
#include "platform/desktopshell.h"
#include "platform/product.h"
#include "platform/prompts.h"
#include "preview/previewhost.h"
#include "preview/previewunit.h"
#include "tagtree/tagtreeunit.h"

#include <QFileInfo>
#include <QTabWidget>

#include <algorithm>
#include <iterator>
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

TagMenuControls tagMenuControls(const MainControls& c)
{
    TagMenuControls t;
    t.EditMenu1 = c.EditMenu1;
    t.EditMenu2 = c.EditMenu2;
    t.N3 = c.N3;
    t.MENU1 = c.MENU1;
    t.ToolMenu1 = c.ToolMenu1;
    t.ToolMenu2 = c.ToolMenu2;
    std::copy(std::begin(c.MTag), std::end(c.MTag), std::begin(t.MTag));
    t.MTagMenu1 = c.MTagMenu1;
    t.MTagMenu2 = c.MTagMenu2;
    return t;
}

// The preview's view of the main window and the file panel.
class MainPreviewHost final : public PreviewHost {
public:
    MainPreviewHost(TFmMain& main, FilePanel& panel) : m(main), m_panel(panel)
    {
        EditorEvents& events = main.events();
        connect(&events, &EditorEvents::currentDocumentChanged, this, &PreviewHost::currentChanged);
        connect(&events, &EditorEvents::caretTagUpdated, this, &PreviewHost::caretMoved);
        auto current = [this](Document* d) {
            if (d && d == m.currentDocument())
                emit textChanged();
        };
        connect(&main.documents(), &Documents::contentChanged, this, current);
        // A big file's load has ended.
        connect(&main.documents(), &Documents::ready, this, [current](Document& d) { current(&d); });
    }

    bool hasDocument() const override { return doc() != nullptr; }
    QString documentText() const override { return doc() ? editorText(*doc()->edit) : QString(); }
    qsizetype documentLength() const override
    {
        return doc() ? doc()->edit->document()->characterCount() : 0;
    }
    bool documentLoading() const override
    {
        return doc() && DocumentLoad::of(doc()->edit->document()) != nullptr;
    }
    QString documentPath() const override { return doc() && doc()->hasFile ? doc()->path : QString(); }
    QString documentName() const override { return doc() ? doc()->path : QString(); }
    QString fallbackFolder() const override { return m_panel.directory(); }
    int caretLine() const override { return m.caretLine(); }
    int caretColumn() const override { return m.caretColumn(); }
    void openFile(const QString& path) override
    {
        const QString wanted = QFileInfo(path).canonicalFilePath();
        for (int n = 1; n <= m.documents().count(); ++n) {
            Document* d = m.documentByNumber(n);
            if (d && d->hasFile && !wanted.isEmpty() && QFileInfo(d->path).canonicalFilePath() == wanted) {
                m.editControl()->setCurrentWidget(d->tab);
                return;
            }
        }
        openDocumentFile(m, path);
    }
    void focusEditor() override { m.focusEditor(); }
    void showMessage(const QString& text) override
    {
        m.prompts().message(&m, kProduct, text, Prompts::Icon::Warning, Prompts::Buttons::Ok);
    }

private:
    Document* doc() const { return m.currentDocument(); }
    TFmMain& m;
    FilePanel& m_panel;
};

} // namespace

void composeUnits(TFmMain& main)
{
    auto registry = std::make_unique<Units>();
    registry->setObjectName(QStringLiteral("Units"));
    registry->setParent(&main);   // found again by unitsOf(); owned by adoptUnit
    Units& u = *registry;
    main.adoptUnit(std::move(registry));

    // The order is the order in which the long-lived windows come to exist.
    // The feature units get only the controls they wire; the main window's
    // own command areas take them all.
    const MainControls& c = main.controls();
    u.file = make<FileCommands>(main, main);
    u.pages = make<PageBuilderUnit>(main, main,
                                    PageCommands{{c.MNew, c.ToolNew, c.FNew}, {c.MFrame, c.ToolFrame, c.FFrame}});
    u.edit = make<EditCommands>(main, main);
    u.optioner = make<TagOptionerUnit>(main, main, OptionerCommands{c.MTo, c.MTo2, c.ToolTo, c.FTO});
    u.sjis = make<SjisCommandUnit>(main, main);
    u.encoding = make<EncodingCommands>(main, main);
    main.createVersionWindow();
    u.tagTree = make<TagTreeUnit>(main, main, c.ToolTag2);
    u.image = make<ImageBuilderUnit>(main, main, BuilderLaunchers{c.MCg, c.ToolCg});
    u.sound = make<SoundBuilderUnit>(main, main, BuilderLaunchers{c.MSound, c.ToolSound});
    u.filePanel = make<FilePanel>(main, main);
    QObject::connect(u.file, &FileCommands::filesChanged, u.filePanel, &FilePanel::refresh);
    QObject::connect(u.filePanel, &FilePanel::imageRequested, u.image, &ImageBuilderUnit::openPicture);
    QObject::connect(u.filePanel, &FilePanel::soundRequested, u.sound, &SoundBuilderUnit::openSound);
    u.color = make<ColorPickerUnit>(main, main, ColorCommands{c.MColor, c.ToolColor, c.MEasy});
    u.tagMenu = make<TagMenuUnit>(main, main, tagMenuControls(c));
    u.keyControl = make<KeyControlUnit>(main, main, c.N7, c.N30);
    u.font = make<FontUnit>(main, main, c.MFont);
    u.table = make<TableBuilderUnit>(main, main, BuilderLaunchers{c.MTable, c.ToolTable});
    u.list = make<ListBuilderUnit>(main, main, BuilderLaunchers{c.MList, c.ToolList});
    u.browser = make<BrowserCommands>(main, main);
    u.coloring = make<HtmlColouringUnit>(main, main);
    auto* previewHost = make<MainPreviewHost>(main, main, *u.filePanel);
    u.preview = make<PreviewUnit>(main, *previewHost, *main.controls().MPreview,
                                  *main.controls().PreviewSplitter, makeXdgShell());
    u.recovery = make<RecoveryUnit>(main, main, main.options().recoveryDir,
                                    main.options().offerRecovery);
}

Units* unitsOf(const TFmMain& main)
{
    return main.findChild<Units*>(QStringLiteral("Units"), Qt::FindDirectChildrenOnly);
}
