#pragma once
// A whole program on scratch folders: scripted prompter, recorded browser and power-off,
// and seams that note when they are called.
#include "app/AppServices.h"
#include "app/Main.h"
#include "app/ProgramEntry.h"
#include "platform/BrowserLauncher.h"
#include "platform/OnlineCheck.h"
#include "platform/PowerOff.h"
#include "settings/IniRegistry.h"
#include "settings/TOptionsU.h"
#include "support/ScriptedPrompter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace quillon::test {

struct RecordingBrowser : BrowserLauncher {
    QStringList opened;
    bool openUrl(const QString &address) override
    {
        opened << address;
        return true;
    }
};

struct FixedOnline : OnlineCheck {
    bool online = false;
    bool isOnline() override { return online; }
};

struct RecordingPowerOff : PowerOff {
    StartupTrace *trace = nullptr;
    bool refuse = false;
    int calls = 0;
    bool requestPowerOff(QString *reason) override
    {
        ++calls;
        if (trace)
            trace->step(QStringLiteral("system power-off"));
        if (refuse && reason)
            *reason = QStringLiteral("Operation inhibited");
        return !refuse;
    }
};

struct FakeDrives : DriveListService {
    bool isBuilt = true;
    QStringList letters;
    bool aspi = true;
    bool built() const override { return isBuilt; }
    int count() const override { return int(letters.size()); }
    QString driveLetter(int index) const override { return letters.value(index); }
    bool aspiFoundDevice() const override { return aspi; }
};

struct RecordingDataFile : DataFileService {
    StartupTrace *trace = nullptr;
    TOptions stored;
    bool present = false;
    QStringList loads;
    int saves = 0;
    bool load(TOptions &options, const QString &path) override
    {
        loads << path;
        options = stored;
        return present;
    }
    bool save(const TOptions &options, const QString &) override
    {
        ++saves;
        stored = options;
        if (trace)
            trace->step(QStringLiteral("data file written"));
        return true;
    }
};

// An update thread that needs a few event-loop turns to finish.
struct FakeUpdates : UpdateService {
    StartupTrace *trace = nullptr;
    bool running = false;
    int turnsLeft = 0;
    bool exists() const override { return running; }
    void requestFinish() override { turnsLeft = 3; }
    bool finished() const override
    {
        auto *self = const_cast<FakeUpdates *>(this);
        if (self->turnsLeft > 0 && --self->turnsLeft == 0 && trace)
            trace->step(QStringLiteral("update thread finished"));
        return turnsLeft == 0;
    }
};

struct TracedBanners : BannerService {
    StartupTrace *trace = nullptr;
    void note(const char *what)
    {
        if (trace)
            trace->step(QLatin1String(what));
    }
    void showFirstBanner() override { note("banner: first"); }
    void evaluateCounters() override { note("banner: counters"); }
    void startupNotices() override { note("banner: start-up notices"); }
    void exitNotices() override { note("banner: exit notices"); }
};

struct TracedWizard : WizardService {
    StartupTrace *trace = nullptr;
    void run() override
    {
        if (trace)
            trace->step(QStringLiteral("wizard"));
    }
};

struct ScriptedGuard : ProjectGuard {
    bool allow = true;
    int asked = 0;
    bool confirmDiscard() override
    {
        ++asked;
        return allow;
    }
};

class AppFixture : public ::testing::Test {
protected:
    AppFixture()
        : services(AppPaths({dir.filePath("program"), dir.filePath("config"), dir.filePath("data"),
                             dir.filePath("cache")}))
    {
        registry = std::make_unique<IniRegistry>(services.paths.registryFile());
        powerOff.trace = &trace;
        dataFile.trace = &trace;
        updates.trace = &trace;
        banners.trace = &trace;
        wizard.trace = &trace;
        services.prompter = &prompter;
        services.browser = &browser;
        services.online = &online;
        services.powerOff = &powerOff;
        services.registry = registry.get();
        services.drives = &drives;
        services.dataFile = &dataFile;
        services.updates = &updates;
        services.banners = &banners;
        services.wizard = &wizard;
        services.projectGuard = &guard;
        services.trace = &trace;
        services.splashMinimumMs = 0;
        services.now = [this] { return now; };
    }

    // Starts the program and lets the deferred start-up action run.
    QuillonProgram &startProgram()
    {
        program = std::make_unique<QuillonProgram>(services);
        program->start();
        // The wizard or the drive check runs on the deferred timer after the first show.
        settleUntil([this] { return indexOf("wizard") >= 0 || indexOf("drive check") >= 0; });
        settle();
        return *program;
    }

    // Closes the main window through its close query and runs the program's end.
    bool closeProgram()
    {
        const bool closed = program->mainForm()->close();
        settle();
        if (closed)
            program->finish();
        return closed;
    }

    static void settle(int ms = 30)
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }

    // Pumps events until `done` holds (or a generous limit passes, on a loaded machine).
    template <typename Done> static void settleUntil(Done done, int limitMs = 5000)
    {
        QElapsedTimer t;
        t.start();
        while (!done() && t.elapsed() < limitMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }

    int indexOf(const QString &step) const { return int(trace.steps().indexOf(step)); }

    QTemporaryDir dir;
    AppServices services;
    StartupTrace trace;
    ScriptedPrompter prompter;
    RecordingBrowser browser;
    FixedOnline online;
    RecordingPowerOff powerOff;
    FakeDrives drives;
    RecordingDataFile dataFile;
    FakeUpdates updates;
    TracedBanners banners;
    TracedWizard wizard;
    ScriptedGuard guard;
    std::unique_ptr<Registry> registry;
    std::unique_ptr<QuillonProgram> program;
    QDateTime now = QDateTime(QDate(2026, 12, 11), QTime(12, 0));
};

} // namespace quillon::test
