// Saving and loading a project of 100,000 files in 2,000 folders, each against its floor
// measured in the same run:
//
//   save  against writing the same number of bytes to a plain file with fsync
//   load  against `find TREE -printf '%s\n'`, which reads every source's size as the load does
//
//   bench_project_file [folder]
//
// The source tree is written under `folder` (the system temporary folder by default) and
// removed afterwards. Warm cache; every figure is the median of 5 runs after one unmeasured
// run. The tree and list models are attached, as in the program. Build without sanitizers.
#include "platform/Prompter.h"
#include "project/FolderListModel.h"
#include "project/ProjectFiles.h"
#include "project/ProjectModel.h"
#include "project/ProjectTreeModel.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

using namespace quillon;

namespace {

constexpr int kFolders = 2000;
constexpr int kFilesPerFolder = 50;

class SilentPrompter : public Prompter {
public:
    int shown = 0;
    PromptButton ask(const PromptRequest &request) override
    {
        ++shown;
        std::fprintf(stderr, "message: %s\n", qPrintable(request.text));
        return request.defaultButton;
    }
};

class NoDialogs : public ProjectFileAsker {
public:
    bool askSaveFileName(QString &) override { return false; }
    bool askOpenFileName(QString &) override { return false; }
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Two levels, as real trees are: 40 top folders of 50 folders of 50 files.
void buildTree(const QString &tree, ProjectModel &project)
{
    ProjectFolder *root = project.NewDataProject(QString(), QStringLiteral("CDROM"));
    for (int top = 0; top < kFolders / 50; ++top) {
        const QString topName = QStringLiteral("Album %1").arg(top, 3, 10, QLatin1Char('0'));
        ProjectFolder *topNode = project.AddFolderNode(root, topName);
        root->dane().NameSet.add(topName);
        topNode->dane().SourceDir = tree + QLatin1Char('/') + topName;
        for (int sub = 0; sub < 50; ++sub) {
            const QString subName =
                QStringLiteral("Disc %1 - recorded live").arg(sub, 2, 10, QLatin1Char('0'));
            const QString dir = topNode->dane().SourceDir + QLatin1Char('/') + subName;
            QDir().mkpath(dir);
            ProjectFolder *node = project.AddFolderNode(topNode, subName);
            topNode->dane().NameSet.add(subName);
            node->dane().SourceDir = dir;
            ProjectModel::FillGuard fill(project, node);
            for (int i = 0; i < kFilesPerFolder; ++i) {
                const QString name = QStringLiteral("IMG_%1 holiday.JPG").arg(i, 5, 10, QLatin1Char('0'));
                const QString path = dir + QLatin1Char('/') + name;
                QFile f(path);
                if (f.open(QIODevice::WriteOnly))
                    f.write("x", i % 7);
                project.AddFile(node, name, path, i % 7);
            }
        }
    }
}

double findSeconds(const QString &tree)
{
    QProcess find;
    find.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer t;
    t.start();
    find.start(QStringLiteral("find"), {tree, QStringLiteral("-printf"), QStringLiteral("%s\n")});
    find.waitForFinished(-1);
    return t.nsecsElapsed() / 1e9;
}

double rawWriteSeconds(const QString &path, const QByteArray &bytes)
{
    QElapsedTimer t;
    t.start();
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return -1;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0)
            break;
        done += n;
    }
    ::fsync(fd);
    ::close(fd);
    return t.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath();
    QTemporaryDir work(base + QStringLiteral("/bench_project_file-XXXXXX"));
    if (!work.isValid()) {
        std::fprintf(stderr, "cannot make a folder under %s\n", qPrintable(base));
        return 1;
    }
    const QString tree = work.filePath(QStringLiteral("sources"));
    const QString projectFile = work.filePath(QStringLiteral("big.qlp"));
    const QString rawFile = work.filePath(QStringLiteral("raw.bin"));

    SilentPrompter prompter;
    NoDialogs dialogs;
    ProjectModel source(prompter);
    buildTree(tree, source);
    source.ProjectFileName = projectFile;
    ProjectFiles saver(source, prompter, dialogs, {});

    ProjectModel target(prompter);
    ProjectTreeModel treeModel(target);
    FolderListModel listModel(target);
    ProjectFiles loader(target, prompter, dialogs, {});

    std::vector<double> saves, raws, loads, finds;
    qint64 fileBytes = 0;
    int loadedFiles = 0;
    for (int run = 0; run < 6; ++run) {
        QElapsedTimer t;
        t.start();
        if (!saver.writeProject(projectFile)) {
            std::fprintf(stderr, "saving failed\n");
            return 1;
        }
        const double save = t.nsecsElapsed() / 1e9;
        QFile written(projectFile);
        fileBytes = written.size();
        written.open(QIODevice::ReadOnly);
        const double raw = rawWriteSeconds(rawFile, written.readAll());

        const double find = findSeconds(tree);
        t.restart();
        if (loader.LoadProject(projectFile) != ProjectFiles::LoadResult::Loaded) {
            std::fprintf(stderr, "loading failed\n");
            return 1;
        }
        const double load = t.nsecsElapsed() / 1e9;
        loadedFiles = 0;
        target.VisitFolders([&loadedFiles](const PathListFolder &f) {
            loadedFiles += f.folder.files().count();
            return WalkStep::Continue;
        });
        if (run == 0)
            continue; // warms the caches
        saves.push_back(save);
        raws.push_back(raw);
        loads.push_back(load);
        finds.push_back(find);
    }
    const double save = median(saves), raw = median(raws), load = median(loads), find = median(finds);
    std::printf("project file: %d files in %d folders, %lld bytes\n", loadedFiles, target.folderCount() - 1,
                static_cast<long long>(fileBytes));
    std::printf("  save (temporary file, fsync, rename)  %7.3f s (limit 1)\n", save);
    std::printf("  raw write of the same bytes + fsync   %7.3f s  -> save = %.2f x raw\n", raw, save / raw);
    std::printf("  load (every size read from the disk)  %7.3f s (limit 1)\n", load);
    std::printf("  find walk of the sources              %7.3f s  -> load = %.2f x find (limit 2)\n", find,
                load / find);
    std::printf("  data bytes counted on load            %lld (saved project: %lld)\n",
                static_cast<long long>(target.DataBytes()), static_cast<long long>(source.DataBytes()));
    return prompter.shown == 0 && target.DataBytes() == source.DataBytes() ? 0 : 1;
}
