// Adding a real tree from the disk, against `find TREE -printf '%s\n'` on the same tree in
// the same run (the file-system walk is the floor).
//
//   bench_add_from_disk [folder]   100,000 files in 2,000 folders, then 20,000 in one folder
//
// The trees are written under `folder` (the system temporary folder by default) and removed
// afterwards. Warm cache: every figure is the median of 5 runs after one unmeasured walk.
// The tree and list models are attached, as in the program. Build without sanitizers.
#include "platform/Prompter.h"
#include "project/DlgNotExistsU.h"
#include "project/FolderListModel.h"
#include "project/ItemAdder.h"
#include "project/ProjectModel.h"
#include "project/ProjectTreeModel.h"
#include "project/RenameAsker.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <malloc.h>
#include <vector>

using namespace quillon;

namespace {

class SilentPrompter : public Prompter {
public:
    PromptButton ask(const PromptRequest &request) override { return request.defaultButton; }
};
class NoRename : public RenameAsker {
public:
    RenameAnswer ask(const RenameRequest &) override { return {}; }
};
class NoNotExists : public NotExistsAsker {
public:
    NotExistsAnswer ask(const NotExistsRequest &) override { return {}; }
};

qint64 heapNow()
{
    malloc_trim(0);
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks + info.hblkhd);
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void writeFiles(const QString &dir, int count)
{
    QDir().mkpath(dir);
    for (int i = 0; i < count; ++i) {
        QFile f(dir + QStringLiteral("/IMG_%1 holiday.JPG").arg(i, 5, 10, QLatin1Char('0')));
        if (f.open(QIODevice::WriteOnly))
            f.write("x", i % 7);
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

struct AddRun {
    double seconds = 0;
    qint64 heapBytes = 0;
    qint64 textBytes = 0; // UTF-16 of names and source paths
    int files = 0;
    double longestPauseMs = 0;
};

AddRun addTree(const QString &tree)
{
    SilentPrompter prompter;
    NoRename renamer;
    NoNotExists notExists;
    AddRun run;
    const qint64 before = heapNow();
    {
        ProjectModel project(prompter);
        ProjectTreeModel treeModel(project);
        FolderListModel listModel(project);
        ProjectFolder *root = project.NewDataProject(QString(), QStringLiteral("CDROM"));
        listModel.setFolder(root);
        QElapsedTimer sincePump;
        ItemAdder::Hooks hooks;
        hooks.chkDeep = [] { return true; };
        hooks.pump = [&] {
            // The busy dialog is pumped here; the gap between two pumps is its freeze.
            if (sincePump.elapsed() >= 8) {
                run.longestPauseMs = std::max(run.longestPauseMs, sincePump.nsecsElapsed() / 1e6);
                QCoreApplication::processEvents();
                sincePump.restart();
            }
        };
        ItemAdder adder(project, prompter, renamer, notExists, hooks);
        QElapsedTimer t;
        t.start();
        sincePump.start();
        adder.DropDataCDExecute({tree}, root, QString());
        run.seconds = t.nsecsElapsed() / 1e9;
        run.longestPauseMs = std::max(run.longestPauseMs, sincePump.nsecsElapsed() / 1e6);
        run.heapBytes = heapNow() - before;
        project.VisitFolders([&](const PathListFolder &f) {
            run.textBytes += 2 * (f.folder.text().size() + f.folder.dane().SourceDir.size());
            for (int i = 0; i < f.folder.files().count(); ++i) {
                run.textBytes += 2 * f.folder.files()[i].text().size();
                ++run.files;
            }
            return WalkStep::Continue;
        });
    }
    return run;
}

bool report(const char *what, const QString &tree)
{
    findSeconds(tree); // warms the cache
    addTree(tree);
    std::vector<double> finds, adds;
    AddRun last;
    double longestPause = 0;
    for (int i = 0; i < 5; ++i) {
        finds.push_back(findSeconds(tree));
        last = addTree(tree);
        adds.push_back(last.seconds);
        longestPause = std::max(longestPause, last.longestPauseMs);
    }
    const double find = median(finds), add = median(adds);
    const double perFile = double(last.heapBytes - last.textBytes) / std::max(1, last.files);
    std::printf("%s: %d files\n", what, last.files);
    std::printf("  find walk      %8.3f s (median of 5)\n", find);
    std::printf("  add from disk  %8.3f s  = %.2f x find (limit 3)\n", add, add / find);
    std::printf("  memory         %8.0f bytes per file beyond the UTF-16 texts (limit 500)\n", perFile);
    std::printf("  longest pause  %8.1f ms between busy-dialog pumps (limit 100)\n", longestPause);
    return add <= 3 * find && perFile <= 500 && longestPause <= 100;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath();
    QTemporaryDir scratch(base + QStringLiteral("/bench_add_XXXXXX"));
    const QString tree = scratch.filePath(QStringLiteral("tree"));
    for (int top = 0; top < 40; ++top) {
        const QString topDir = tree + QStringLiteral("/Folder %1").arg(top);
        writeFiles(topDir, 50);
        for (int sub = 0; sub < 49; ++sub)
            writeFiles(topDir + QStringLiteral("/Sub %1").arg(sub), 50);
    }
    const QString big = scratch.filePath(QStringLiteral("big"));
    writeFiles(big, 20000);

    const bool treeOk = report("Tree of 2,000 folders", tree);
    const bool bigOk = report("One big folder", big);
    std::printf("%s\n", treeOk && bigOk ? "within limits" : "OVER A LIMIT");
    return treeOk && bigOk ? 0 : 1;
}
