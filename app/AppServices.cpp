#include "app/AppServices.h"

#include "platform/DebugLog.h"
#include "settings/DataFileStore.h"
#include "settings/TOptionsU.h"

namespace quillon {

void StartupTrace::step(const QString &name)
{
    m_steps << name;
    qCDebug(lcQuillon) << "step:" << name;
}

namespace {

class UnbuiltDriveList : public DriveListService {
public:
    bool built() const override { return false; }
    int count() const override { return 0; }
    QString driveLetter(int) const override { return {}; }
    bool aspiFoundDevice() const override { return false; }
};

class UnbuiltDataFile : public DataFileService {
public:
    bool load(TOptions &, const QString &path) override
    {
        qCInfo(lcQuillon) << "data file not read (its store is not built yet):" << path;
        return false;
    }
    bool save(const TOptions &, const QString &path) override
    {
        qCInfo(lcQuillon) << "data file not written (its store is not built yet):" << path;
        return false;
    }
};

class StoredDataFile : public DataFileService {
public:
    explicit StoredDataFile(Prompter &prompter)
        : m_store(&prompter)
    {
    }
    bool load(TOptions &options, const QString &path) override
    {
        return m_store.load(options, path) != DataFileStore::Source::Defaults;
    }
    bool save(const TOptions &options, const QString &path) override { return m_store.save(options, path); }

private:
    DataFileStore m_store;
};

class UnbuiltUpdates : public UpdateService {
public:
    bool exists() const override { return false; }
    void requestFinish() override {}
    bool finished() const override { return true; }
};

class UnbuiltBanners : public BannerService {
public:
    void showFirstBanner() override { qCInfo(lcQuillon) << "banners not built yet: no first banner"; }
    void evaluateCounters() override { qCInfo(lcQuillon) << "banners not built yet: no counters"; }
    void startupNotices() override { qCInfo(lcQuillon) << "banners not built yet: no start-up notices"; }
    void exitNotices() override { qCInfo(lcQuillon) << "banners not built yet: no exit notices"; }
};

class UnbuiltWizard : public WizardService {
public:
    void run() override { qCInfo(lcQuillon) << "configuration wizard not built yet"; }
    bool placeholder() const override { return true; }
};

} // namespace

std::unique_ptr<DataFileService> CreateDataFileStore(Prompter &prompter)
{
    return std::make_unique<StoredDataFile>(prompter);
}

UnbuiltServices::UnbuiltServices()
    : drives(std::make_unique<UnbuiltDriveList>())
    , dataFile(std::make_unique<UnbuiltDataFile>())
    , updates(std::make_unique<UnbuiltUpdates>())
    , banners(std::make_unique<UnbuiltBanners>())
    , wizard(std::make_unique<UnbuiltWizard>())
{
}

UnbuiltServices::~UnbuiltServices() = default;

void UnbuiltServices::fillGaps(AppServices &s)
{
    if (!s.drives)
        s.drives = drives.get();
    if (!s.dataFile)
        s.dataFile = dataFile.get();
    if (!s.updates)
        s.updates = updates.get();
    if (!s.banners)
        s.banners = banners.get();
    if (!s.wizard)
        s.wizard = wizard.get();
}

} // namespace quillon
