#pragma once
// "ISO.lst": which hard-disk file or folder goes under which name into the image. mkisofs reads
// it with -graft-points -path-list, one "destination=source" line per entry.
#include <QString>
#include <functional>

namespace quillon {

class AppPaths;
class NotExistsAsker;
class OptionsModel;
class ProjectModel;

// A destination with "\" and "=" escaped the way mkisofs unescapes graft points.
QString escapeDestination(const QString &destination);
// One line of the list, without its line end.
QString PathListEntry(const QString &destination, const QString &source);

struct PathListResult {
    enum Status {
        Written,
        Stopped,   // the user cancelled or went to a missing file: the job must not go on
        NotWritten // the file could not be written, or a name cannot stand in a list line
    };
    Status status = NotWritten;
    QString file;  // the list's full path
    QString error; // for the debug log when not written
    int lines = 0;
    bool ok() const { return status == Written; }
};

struct PathListServices {
    const ProjectModel &project;
    const OptionsModel &options;
    const AppPaths &paths;
    NotExistsAsker &notExists;
    // Shows a path in the local file pane: (path, kind word "Folder" or "File").
    std::function<void(const QString &path, const QString &kindWord)> goToDisk;
    // Runs once per folder so a large tree keeps the window alive.
    std::function<void()> pump;
};

// Writes the path list for the current project into the work folder, LF line ends.
PathListResult WritePathList(const PathListServices &services);

// The list's name in the work folder.
QString pathListFile(const AppPaths &paths);

} // namespace quillon
