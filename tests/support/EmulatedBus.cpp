#include "EmulatedBus.h"

#include "discaccess/SysfsDrives.h"

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <unistd.h>

namespace quillon::test {

using namespace quillon::disc;

std::unique_ptr<EmulatedBus> EmulatedBus::fromSysfs(const std::string &sysRoot)
{
    auto bus = std::make_unique<EmulatedBus>();
    for (const DriveLocation &where : enumerateSysfsDrives(sysRoot)) {
        EmulatedDrive &d = bus->add(where);
        if (!where.vendor.empty())
            d.drive.vendor = where.vendor;
        if (!where.model.empty())
            d.drive.product = where.model;
        if (!where.revision.empty())
            d.drive.revision = where.revision;
    }
    return bus;
}

EmulatedDrive &EmulatedBus::add(const DriveLocation &where)
{
    m_drives.push_back(std::make_unique<EmulatedDrive>());
    m_drives.back()->location = where;
    return *m_drives.back();
}

std::vector<DriveLocation> EmulatedBus::listDrives()
{
    std::vector<DriveLocation> all;
    for (const auto &d : m_drives)
        all.push_back(d->location);
    return all;
}

EmulatedDrive *EmulatedBus::find(const DriveLocation &where)
{
    for (const auto &d : m_drives)
        if (d->location.node == where.node)
            return d.get();
    return nullptr;
}

ScsiOutcome EmulatedBus::execute(const DriveLocation &where, const ScsiRequest &request)
{
    EmulatedDrive *d = find(where);
    ScsiOutcome outcome;
    if (!d || (request.cdb[0] == 0x12 && muteNodes.count(where.node))) {
        outcome.hostStatus = hostTimeOut;
        return outcome;
    }
    return d->execute(where, request);
}

std::optional<DoorState> EmulatedBus::doorState(const DriveLocation &where)
{
    EmulatedDrive *d = find(where);
    return d ? d->doorState(where) : std::nullopt;
}

std::optional<std::uint8_t> EmulatedBus::moveTray(const DriveLocation &where, bool load)
{
    EmulatedDrive *d = find(where);
    return d ? d->moveTray(where, load) : std::nullopt;
}

std::optional<IoctlToc> EmulatedBus::readTocIoctl(const DriveLocation &where)
{
    EmulatedDrive *d = find(where);
    return d ? d->readTocIoctl(where) : std::nullopt;
}

bool discModelByName(const std::string &name, DiscModel &model)
{
    static const std::map<std::string, DiscModel (*)()> models = {
        {"none", discs::none},
        {"blankCdR80", discs::blankCdR80},
        {"blankCdRw", discs::blankCdRw},
        {"pressedAudio12", discs::pressedAudio12},
        {"dataCdRom", discs::dataCdRom},
        {"cdPlus", discs::cdPlus},
        {"appendableCdR", discs::appendableCdR},
        {"closedCdR", discs::closedCdR},
        {"blankDvdR", discs::blankDvdR},
    };
    const auto it = models.find(name);
    if (it == models.end())
        return false;
    model = it->second();
    return true;
}

bool loadEmulatedBus(const std::string &path, EmulatedBus &bus, std::string *error)
{
    std::ifstream in(path);
    if (!in) {
        if (error)
            *error = "cannot open " + path;
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        if (const std::size_t hash = line.find('#'); hash != std::string::npos)
            line.erase(hash);
        std::istringstream fields(line);
        std::string node, hctl, model, vendor, product;
        if (!(fields >> node))
            continue;
        DriveLocation where;
        where.node = node;
        DiscModel disc;
        if (!(fields >> hctl >> model) ||
            !parseHctl(hctl, where.host, where.channel, where.target, where.lun) ||
            !discModelByName(model, disc)) {
            if (error)
                *error = "unreadable drive line: " + line;
            return false;
        }
        EmulatedDrive &d = bus.add(where);
        if (fields >> vendor)
            d.drive.vendor = vendor;
        if (fields >> product)
            d.drive.product = product;
        if (disc.present) {
            d.insert(disc);
            // The insertion's unit attention would be seen by whichever side asks first.
            std::uint8_t tur[6] = {};
            ScsiRequest request;
            request.cdb = tur;
            request.cdbLength = sizeof tur;
            d.execute(where, request);
            d.clearLog();
        }
    }
    return true;
}

bool writeEmulatedBusFixture(const std::string &path, const std::vector<std::string> &lines)
{
    // Written aside and renamed, so a reader in another process never sees half a file.
    const std::string aside = path + ".new" + std::to_string(::getpid());
    {
        std::ofstream out(aside, std::ios::trunc);
        for (const std::string &l : lines)
            out << l << "\n";
        if (!out)
            return false;
    }
    return std::rename(aside.c_str(), path.c_str()) == 0;
}

} // namespace quillon::test
