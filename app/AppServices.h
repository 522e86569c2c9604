#pragma once
// What the main program is built from: the OS services it talks to and the seams of the
// pieces that come later (drive list, data file, wizard, banners, update thread, project
// files). The program builds the real set in main(); tests build their own.
#include "platform/AppPaths.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace quillon {

class BrowserLauncher;
class OnlineCheck;
class PowerOff;
class Prompter;
class Registry;
struct TOptions;

// Names the steps of start and end as they happen, for the debug log and the tests.
class StartupTrace {
public:
    void step(const QString &name);
    const QStringList &steps() const { return m_steps; }

private:
    QStringList m_steps;
};

// The drive list as start-up sees it.
class DriveListService {
public:
    virtual ~DriveListService() = default;
    virtual bool built() const = 0;          // false until the drive list exists
    virtual int count() const = 0;
    virtual QString driveLetter(int index) const = 0;
    virtual bool aspiFoundDevice() const = 0; // the transport saw any device at all
};

// Loading and saving the enciphered data file.
class DataFileService {
public:
    virtual ~DataFileService() = default;
    virtual bool load(TOptions &options, const QString &path) = 0;
    virtual bool save(const TOptions &options, const QString &path) = 0;
};

// The enciphered data file of the settings library: a damaged file falls back to its backup,
// and a failed save keeps the last good copy and tells the user.
std::unique_ptr<DataFileService> CreateDataFileStore(Prompter &prompter);

// The background update thread.
class UpdateService {
public:
    virtual ~UpdateService() = default;
    virtual bool exists() const = 0;
    virtual void requestFinish() = 0;
    virtual bool finished() const = 0;
};

// Banners and the start-up and exit notices.
class BannerService {
public:
    virtual ~BannerService() = default;
    virtual void showFirstBanner() = 0;
    virtual void evaluateCounters() = 0;
    virtual void startupNotices() = 0;
    virtual void exitNotices() = 0;
};

// The first-start configuration wizard.
class WizardService {
public:
    virtual ~WizardService() = default;
    virtual void run() = 0;
    // True for the stand-in that runs nothing; the program then puts in the real wizard.
    virtual bool placeholder() const { return false; }
};

// The unsaved-project question in front of closing; true lets the close go on. Unset, the
// main window asks through its project files.
class ProjectGuard {
public:
    virtual ~ProjectGuard() = default;
    virtual bool confirmDiscard() = 0;
};

struct AppServices {
    explicit AppServices(const AppPaths &p) : paths(p) {}

    AppPaths paths;
    Prompter *prompter = nullptr;
    BrowserLauncher *browser = nullptr;
    OnlineCheck *online = nullptr;
    PowerOff *powerOff = nullptr;
    Registry *registry = nullptr;
    DriveListService *drives = nullptr;
    DataFileService *dataFile = nullptr;
    UpdateService *updates = nullptr;
    BannerService *banners = nullptr;
    WizardService *wizard = nullptr;
    ProjectGuard *projectGuard = nullptr;
    StartupTrace *trace = nullptr;

    QString homePage;                 // empty skips the home-page visit
    int splashMinimumMs = 1400;       // the splash stays at least this long
    int shutdownWarningMs = 60000;    // the power-off warning's minute
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
};

// The seams of pieces not built yet: they do nothing and say so in the debug log.
struct UnbuiltServices {
    std::unique_ptr<DriveListService> drives;
    std::unique_ptr<DataFileService> dataFile;
    std::unique_ptr<UpdateService> updates;
    std::unique_ptr<BannerService> banners;
    std::unique_ptr<WizardService> wizard;

    UnbuiltServices();
    ~UnbuiltServices();
    // Fills every seam of `services` that is still empty.
    void fillGaps(AppServices &services);
};

} // namespace quillon
