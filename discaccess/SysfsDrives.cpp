#include "discaccess/SysfsDrives.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace quillon::disc {

namespace fs = std::filesystem;

namespace {

std::string readTrimmed(const fs::path &file)
{
    std::ifstream in(file);
    std::string text;
    std::getline(in, text);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.pop_back();
    std::size_t start = 0;
    while (start < text.size() && std::isspace(static_cast<unsigned char>(text[start])))
        ++start;
    return text.substr(start);
}

// The number N of "srN", or -1.
int srNumber(const std::string &name)
{
    if (name.size() < 3 || name.compare(0, 2, "sr") != 0)
        return -1;
    int n = 0;
    for (std::size_t i = 2; i < name.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i])) || n > 100000)
            return -1;
        n = n * 10 + (name[i] - '0');
    }
    return n;
}

bool addressOf(const fs::path &device, DriveLocation &drive)
{
    std::error_code ec;
    // On a real system "device" links to the H:C:T:L folder of the SCSI device.
    const fs::path real = fs::canonical(device, ec);
    if (!ec && parseHctl(real.filename().string(), drive.host, drive.channel, drive.target, drive.lun))
        return true;
    for (const auto &entry : fs::directory_iterator(device / "scsi_device", ec)) {
        if (parseHctl(entry.path().filename().string(), drive.host, drive.channel, drive.target, drive.lun))
            return true;
    }
    return false;
}

} // namespace

bool parseHctl(const std::string &text, int &host, int &channel, int &target, int &lun)
{
    int values[4] = {};
    int field = 0;
    bool digit = false;
    for (char c : text) {
        if (c == ':') {
            if (!digit || ++field > 3)
                return false;
            digit = false;
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            if (values[field] > 1000000)
                return false;
            values[field] = values[field] * 10 + (c - '0');
            digit = true;
        } else {
            return false;
        }
    }
    if (field != 3 || !digit)
        return false;
    host = values[0];
    channel = values[1];
    target = values[2];
    lun = values[3];
    return true;
}

std::vector<DriveLocation> enumerateSysfsDrives(const std::string &sysRoot)
{
    std::vector<std::pair<int, DriveLocation>> found;
    std::error_code ec;
    for (const auto &entry : fs::directory_iterator(fs::path(sysRoot) / "class" / "block", ec)) {
        const std::string name = entry.path().filename().string();
        const int number = srNumber(name);
        if (number < 0)
            continue;
        DriveLocation drive;
        drive.node = name;
        const fs::path device = entry.path() / "device";
        if (!addressOf(device, drive))
            continue;
        drive.vendor = readTrimmed(device / "vendor");
        drive.model = readTrimmed(device / "model");
        drive.revision = readTrimmed(device / "rev");
        found.emplace_back(number, std::move(drive));
    }
    std::sort(found.begin(), found.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    std::vector<DriveLocation> drives;
    for (auto &item : found)
        drives.push_back(std::move(item.second));
    return drives;
}

std::string mountPointOf(const std::string &mountsFile, const std::string &deviceNode)
{
    std::ifstream in(mountsFile);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string device, where;
        fields >> device >> where;
        if (device == deviceNode)
            return where;
    }
    return {};
}

} // namespace quillon::disc
