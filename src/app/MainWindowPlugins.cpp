// Plug-ins in the main window: the scan at start-up, their menu items,
// toolbar buttons, open-dialog filters, file handlers, body generators,
// travel methods and filters, and running one with its kind's context.
#include "app/MainWindow.h"

#include "app/ActionTable.h"
#include "app/FileFilters.h"
#include "app/SettingsStore.h"
#include "app/plugins/PluginFolders.h"
#include "app/plugins/PluginTravelMethod.h"
#include "app/scripts/WindowScriptHost.h"

#include "base/TextEncoding.h"
#include "plugins/PluginMgr.h"

#include <QAction>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace kalvion::app {

namespace {

QString Text(const std::string &s) { return QString::fromStdString(BytesToUtf8(s)); }

} // namespace

void TfrmVexaMain::SetUpPlugins()
{
    FPlugins = std::make_unique<TVexaPluginMgr>();
    TVexaPluginMgr &mgr = *FPlugins;
    const QString program = ProgramPluginFolder(FOptions.ProgramFolder);
    const QString user = UserPluginFolder();
    mgr.PluginFolders.push_back(program.toStdString());
    if (user != program)
        mgr.PluginFolders.push_back(user.toStdString());
    mgr.ImageSize = [](const std::string &path, int &w, int &h) {
        QImageReader reader(QString::fromStdString(path));
        const QSize size = reader.size();
        if (!size.isValid() || !reader.canRead())
            return false;
        w = size.width();
        h = size.height();
        return true;
    };
    mgr.Scan();
    FPluginActions.assign(mgr.Plugins.size(), nullptr);
    // The Part's order: Plugins menu, File ▸ New, right-click menu, toolbar
    // buttons, Filters menu.
    for (int kind : {PLUGIN_KIND_FEATURE, PLUGIN_KIND_GENERATOR, PLUGIN_KIND_POPMENU})
        for (int i : mgr.OfKind(kind))
            AddPluginItem(i);
    for (std::size_t i = 0; i < mgr.Plugins.size(); ++i)
        if (!mgr.Plugins[i].ButtonBitmap.empty())
            AddPluginButton(static_cast<int>(i));
    for (int i : mgr.OfKind(PLUGIN_KIND_FILTER))
        AddPluginItem(i);
    for (const std::string &name : mgr.TravelMethodNames())
        FTravelMethods.push_back(std::make_unique<TPluginTravelMethod>(
            name, FScriptApp->Travel, [this](const std::string &n) {
                RunPlugin(FPlugins->FindByName(PLUGIN_KIND_TRAVELCALC, n));
            }));
    std::vector<std::string> disabled;
    const int count = FStore.Int(QStringLiteral("PluginDisabledCount")).value_or(0);
    for (int i = 1; i <= count && i <= 10000; ++i)
        if (const auto name = FStore.Value(QStringLiteral("PluginDisabled") + QString::number(i)))
            disabled.push_back(name->toStdString());
    mgr.ApplyDisabled(disabled);
    ApplyPluginActivation();
}

void TfrmVexaMain::AddPluginItem(int index)
{
    const TVexaPluginInfo &p = FPlugins->Plugins[static_cast<std::size_t>(index)];
    auto *a = new QAction(Text(p.PluginName), this);
    a->setObjectName(QStringLiteral("Plugin#") + QString::number(index));
    a->setData(index);
    if (!p.MenuHotkey.empty())
        a->setShortcut(QKeySequence(Text(p.MenuHotkey)));
    a->setCheckable(p.Kind == PLUGIN_KIND_FILTER);
    connect(a, &QAction::triggered, this, [this, index] { RunPlugin(index); });
    FPluginActions[static_cast<std::size_t>(index)] = a;

    if (p.Kind == PLUGIN_KIND_POPMENU) {
        FContextMenu->addAction(a);
        return;
    }
    const QList<QAction *> tops = menuBar()->actions();
    const auto [menu, position] = TVexaPluginMgr::MenuPlace(p, static_cast<int>(tops.size()), [&tops](int m) {
        QMenu *top = tops[m]->menu();
        return top ? static_cast<int>(top->actions().size()) : 0;
    });
    if (menu >= 0) {
        QMenu *top = tops[menu]->menu();
        top->insertAction(top->actions()[position], a);
        return;
    }
    const char *place = p.Kind == PLUGIN_KIND_FEATURE     ? "Plugins.List"
                        : p.Kind == PLUGIN_KIND_GENERATOR ? "File.GeneratorPlugins"
                                                          : "Filters.Plugins";
    FActions->Menu(QString::fromLatin1(place))->addAction(a);
}

void TfrmVexaMain::AddPluginButton(int index)
{
    const TVexaPluginInfo &p = FPlugins->Plugins[static_cast<std::size_t>(index)];
    auto *bar = findChild<QToolBar *>(QStringLiteral("toolbarMain"));
    const QImage image(QString::fromStdString(p.ButtonBitmap));
    if (!bar || image.isNull())
        return;
    QIcon icon;
    if (image.width() == 32) {
        // A bitmap twice as wide as high holds the normal and the disabled glyph.
        icon.addPixmap(QPixmap::fromImage(image.copy(0, 0, 16, image.height())), QIcon::Normal);
        icon.addPixmap(QPixmap::fromImage(image.copy(16, 0, 16, image.height())), QIcon::Disabled);
    } else {
        icon.addPixmap(QPixmap::fromImage(image), QIcon::Normal);
    }
    auto *b = new QToolButton;
    b->setObjectName(QStringLiteral("buttonPlugin#") + QString::number(index));
    b->setAutoRaise(true);
    b->setFixedSize(24, 24);
    b->setIconSize(QSize(16, 16));
    b->setIcon(icon);
    b->setToolTip(Text(p.PluginName));
    b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    connect(b, &QToolButton::clicked, this, [this, index] { RunPlugin(index); });
    // Beside "Halt Script", in the order of the plug-ins: the button that
    // stops a plug-in and the buttons that start them sit together.
    const QList<QAction *> onBar = bar->actions();
    const qsizetype halt = onBar.indexOf(FActions->Action(QStringLiteral("Plugins.Halt")));
    const qsizetype at = halt < 0 ? onBar.size() : halt + 1 + static_cast<qsizetype>(FPluginButtons.size());
    bar->insertWidget(at < onBar.size() ? onBar[at] : nullptr, b);
    FPluginButtons.push_back(b);
}

QAction *TfrmVexaMain::PluginAction(int index) const
{
    if (index < 0 || index >= static_cast<int>(FPluginActions.size()))
        return nullptr;
    return FPluginActions[static_cast<std::size_t>(index)];
}

void TfrmVexaMain::ApplyPluginActivation()
{
    for (std::size_t i = 0; i < FPluginActions.size(); ++i)
        if (FPluginActions[i])
            FPluginActions[i]->setVisible(FPlugins->Plugins[i].Active);
}

QStringList TfrmVexaMain::DisabledPluginNames() const
{
    QStringList names;
    for (const std::string &n : FPlugins->DisabledNames())
        names << QString::fromStdString(n);
    return names;
}

void TfrmVexaMain::RunPlugin(int index)
{
    if (index < 0 || index >= static_cast<int>(FPlugins->Plugins.size()))
        return;
    // Copies: the run may go through the message loop.
    const TVexaPluginInfo p = FPlugins->Plugins[static_cast<std::size_t>(index)];
    if (p.Kind == PLUGIN_KIND_FILTER) {
        // The item's check mark has turned already; the script follows it.
        const QAction *a = PluginAction(index);
        FScriptApp->FilterTurningOn = a && a->isChecked();
    }
    if (p.Kind == PLUGIN_KIND_GENERATOR && !SaveCheck())
        return;
    RunScriptFile(QString::fromStdString(p.FileName), Text(p.PluginName) + QStringLiteral(" (Plugin)"));
}

bool TfrmVexaMain::OpenWithFileHandler(const QString &file)
{
    const std::string path = QFileInfo(file).absoluteFilePath().toStdString();
    const int index = FPlugins ? FPlugins->FindFileHandler(path) : -1;
    if (index < 0)
        return false;
    const std::string outer = FScriptApp->HandlerFile;
    FScriptApp->HandlerFile = path;
    RunPlugin(index);
    FScriptApp->HandlerFile = outer;
    return true;
}

QString TfrmVexaMain::OpenDialogFilter() const
{
    return QString::fromStdString(FPlugins->OpenFilter(SECTOR_FILE_FILTER));
}

std::vector<std::string> TfrmVexaMain::BodyGeneratorNames() const { return FPlugins->BodyGeneratorNames(); }

bool TfrmVexaMain::RunBodyGenerator(const std::string &name, const TVexaGenerateOptions &options)
{
    const int index = FPlugins->FindByName(PLUGIN_KIND_BODYGEN, name);
    if (index < 0)
        return false;
    FScriptApp->GenerateOptions = options;
    FScriptApp->GenerateOptions.Generator = name;
    RunPlugin(index);
    return true;
}

std::vector<TTravelCalcMethod *> TfrmVexaMain::TravelMethods() const
{
    std::vector<TTravelCalcMethod *> methods;
    for (const auto &m : FTravelMethods)
        methods.push_back(m.get());
    return methods;
}

} // namespace kalvion::app
