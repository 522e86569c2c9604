// Quillon: the program entry.
#include "app/AppServices.h"
#include "app/DriveListServiceImpl.h"
#include "app/MessageBoxPrompter.h"
#include "app/ProgramEntry.h"
#include "app/QuillonApplication.h"
#include "platform/AppPaths.h"
#include "platform/BrowserLauncher.h"
#include "platform/OnlineCheck.h"
#include "platform/PowerOff.h"
#include "settings/SystemRegistry.h"

int main(int argc, char **argv)
{
    quillon::QuillonApplication app(argc, argv);
    quillon::AppServices services(quillon::AppPaths::forRunningProgram());
    quillon::MessageBoxPrompter prompter;
    quillon::DesktopBrowserLauncher browser;
    quillon::HostAddressOnlineCheck online;
    quillon::SystemPowerOff powerOff;
    std::unique_ptr<quillon::Registry> registry = quillon::CreateSystemRegistry(services.paths);
    quillon::StartupTrace trace;
    std::unique_ptr<quillon::DataFileService> dataFile = quillon::CreateDataFileStore(prompter);
    quillon::UnbuiltServices unbuilt;
    services.prompter = &prompter;
    services.browser = &browser;
    services.online = &online;
    services.powerOff = &powerOff;
    services.registry = registry.get();
    services.trace = &trace;
    services.dataFile = dataFile.get();
    // The drive list (and with it the process drive table) is built before the main window.
    quillon::DriveListServiceImpl drives(&prompter);
    services.drives = &drives;
    services.homePage = QStringLiteral(QUILLON_HOME_PAGE);
    unbuilt.fillGaps(services);

    quillon::QuillonProgram program(services);
    return program.run();
}
