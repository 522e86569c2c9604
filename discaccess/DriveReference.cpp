#include "discaccess/DriveReference.h"

#include <cctype>
#include <sstream>

namespace quillon::disc {

namespace {

// Mountinfo writes blanks, tabs, newlines and backslashes in paths as \ooo.
std::string unescapeOctal(const std::string &field)
{
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const char a = field[i + 1], b = field[i + 2], c = field[i + 3];
            if (a >= '0' && a <= '3' && b >= '0' && b <= '7' && c >= '0' && c <= '7') {
                out.push_back(char(((a - '0') << 6) | ((b - '0') << 3) | (c - '0')));
                i += 3;
                continue;
            }
        }
        out.push_back(field[i]);
    }
    return out;
}

bool parseDeviceNumber(const std::string &text, unsigned &major, unsigned &minor)
{
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == text.size())
        return false;
    unsigned values[2] = {};
    const std::string parts[2] = {text.substr(0, colon), text.substr(colon + 1)};
    for (int p = 0; p < 2; ++p) {
        for (char ch : parts[p]) {
            if (!std::isdigit(static_cast<unsigned char>(ch)) || values[p] > 100000000u)
                return false;
            values[p] = values[p] * 10 + unsigned(ch - '0');
        }
    }
    major = values[0];
    minor = values[1];
    return true;
}

} // namespace

std::string ToolDeviceArgument(const DriveReference &drive)
{
    if (!drive.valid)
        return {};
#ifdef _WIN32
    return drive.scsiAddress;
#else
    return drive.node;
#endif
}

std::vector<std::string> mountPointsFromMountInfo(const std::string &text, unsigned major, unsigned minor)
{
    // Fields: id, parent id, major:minor, root, mount point, options, optional fields, "-", ...
    std::vector<std::string> points;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string id, parent, device, root, where;
        if (!(fields >> id >> parent >> device >> root >> where))
            continue;
        unsigned lineMajor = 0, lineMinor = 0;
        if (!parseDeviceNumber(device, lineMajor, lineMinor) || lineMajor != major || lineMinor != minor)
            continue;
        points.push_back(unescapeOctal(where));
    }
    return points;
}

} // namespace quillon::disc
