#include "engine/PathList.h"

#include "platform/AppPaths.h"
#include "platform/DebugLog.h"
#include "project/DlgNotExistsU.h"
#include "project/ProjectModel.h"
#include "settings/OptionsModel.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace quillon {

namespace {

// Without -D mkisofs refuses any folder at level 8 or deeper ("Directories too deep").
constexpr int deepestListedLevel = 7;

bool isEmptyDirectory(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QDir dir(path);
    return dir.exists() && dir.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
}

// mkisofs reads the list line by line, so a line end inside a name would split the entry.
bool fitsOnOneLine(const QString &text)
{
    return !text.contains(QLatin1Char('\n'));
}

} // namespace

QString escapeDestination(const QString &destination)
{
    QString out;
    out.reserve(destination.size() + 8);
    for (QChar c : destination) {
        if (c == u'\\' || c == u'=')
            out += QLatin1Char('\\');
        out += c;
    }
    return out;
}

QString PathListEntry(const QString &destination, const QString &source)
{
    return escapeDestination(destination) + QLatin1Char('=') + source;
}

QString pathListFile(const AppPaths &paths)
{
    return withTrailingSeparator(paths.workDir()) + QStringLiteral("ISO.lst");
}

PathListResult WritePathList(const PathListServices &s)
{
    PathListResult result;
    result.file = pathListFile(s.paths);
    const bool deep = s.options.ChkDeep();
    bool ignoreMissing = false;
    bool stopped = false;
    QString unlistable;
    QStringList lines;

    // An empty leaf whose own folder is gone or still holds files left out of the project
    // gets the empty work folder, so that mkisofs makes an empty directory; an empty or
    // missing source stops mkisofs with "Invalid node".
    auto emptyFolderSource = [&](const ProjectFolder &folder) {
        const QString own = folder.dane().SourceDir;
        if (isEmptyDirectory(own))
            return own;
        const QString work = s.paths.tempFolder();
        if (!QDir().mkpath(work))
            qCWarning(lcQuillon) << "WritePathList: cannot create the empty work folder" << work;
        else if (!isEmptyDirectory(work))
            qCWarning(lcQuillon) << "WritePathList: the empty work folder holds files" << work;
        return work;
    };

    auto add = [&](const QString &destination, const QString &source) {
        if (!fitsOnOneLine(destination) || !fitsOnOneLine(source)) {
            if (unlistable.isEmpty())
                unlistable = destination;
            return;
        }
        lines << PathListEntry(destination, source);
    };

    s.project.VisitFolders([&](const PathListFolder &node) {
        if (s.pump)
            s.pump();
        if (!deep && node.level > deepestListedLevel)
            return WalkStep::SkipChildren;
        const ProjectFolder &folder = node.folder;
        const FileList &files = folder.files();
        // A folder whose sub-folders all fall to the depth rule is a leaf in the image.
        const bool childrenListed = folder.childCount() > 0 && (deep || node.level < deepestListedLevel);
        if (!folder.isRoot() && files.isEmpty() && !childrenListed && node.modifiable)
            add(node.listPath, emptyFolderSource(folder));
        for (int i = 0; i < files.count(); ++i) {
            if (!s.project.IsModifiable(&folder, i))
                continue;
            const FileEntry &entry = files.at(i);
            const QString source = entry.sourcePath();
            if (QFileInfo::exists(source)) {
                add(node.listPath + entry.name(), source);
                continue;
            }
            if (ignoreMissing)
                continue;
            NotExistsRequest request;
            request.name = source;
            const NotExistsAnswer answer = s.notExists.ask(request);
            if (answer.accepted) {
                ignoreMissing = answer.ignoreOthers;
                continue;
            }
            if (s.goToDisk)
                s.goToDisk(QFileInfo(source).path(), QStringLiteral("Folder"));
            stopped = true;
            return WalkStep::Stop;
        }
        return WalkStep::Continue;
    });

    if (stopped) {
        result.status = PathListResult::Stopped;
        return result;
    }
    if (!unlistable.isEmpty()) {
        result.error = QStringLiteral("a name holds a line end and cannot be listed: ") + unlistable;
        qCWarning(lcQuillon) << "WritePathList:" << result.error;
        return result;
    }

    QByteArray text;
    for (const QString &line : lines)
        text += line.toUtf8() + '\n';
    QSaveFile file(result.file);
    if (!QDir().mkpath(s.paths.workDir()) || !file.open(QIODevice::WriteOnly) ||
        file.write(text) != text.size() || !file.commit()) {
        result.error =
            QStringLiteral("cannot write ") + result.file + QStringLiteral(": ") + file.errorString();
        qCWarning(lcQuillon) << "WritePathList:" << result.error;
        return result;
    }
    result.status = PathListResult::Written;
    result.lines = int(lines.size());
    return result;
}

} // namespace quillon
