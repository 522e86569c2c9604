// How fast the project model takes in files and how much memory each costs, against a plain
// QStringList of the same entry strings sorted without letter case, measured in the same run.
//
//   bench_project_model            100,000 files in 2,000 folders, then 20,000 in one folder
//
// Entries are synthetic (no disk is touched). Build it without sanitizers for real figures.
#include "project/FolderListModel.h"
#include "project/ProjectModel.h"
#include "project/ProjectTreeModel.h"
#include "platform/Prompter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <malloc.h>
#include <unistd.h>
#include <vector>

using namespace quillon;

namespace {

class SilentPrompter : public Prompter {
public:
    PromptButton ask(const PromptRequest &request) override { return request.defaultButton; }
};

struct Memory {
    qint64 resident = 0; // bytes, from /proc/self/statm
    qint64 heap = 0;     // bytes the allocator has handed out
};

Memory memoryNow()
{
    Memory m;
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    if (statm >> size >> resident)
        m.resident = qint64(resident) * sysconf(_SC_PAGESIZE);
    const struct mallinfo2 info = mallinfo2();
    m.heap = qint64(info.uordblks + info.hblkhd);
    return m;
}

// Gives freed memory back so that the next measurement starts from the same floor.
void settle()
{
    malloc_trim(0);
}

struct FileInput {
    QString name;
    QString source;
};

struct FolderInput {
    int parent; // index into the folder list, -1 for the root
    QString name;
    QString sourceDir;
    std::vector<FileInput> files;
};

// 40 top-level folders with 49 sub-folders each; every folder holds filesPerFolder files whose
// names come in shuffled order, like a directory listing.
std::vector<FolderInput> makeTree(int topLevel, int perTop, int filesPerFolder)
{
    QRandomGenerator random(2024);
    std::vector<FolderInput> folders;
    auto addFiles = [&](FolderInput &f) {
        std::vector<int> numbers(static_cast<size_t>(filesPerFolder));
        for (int i = 0; i < filesPerFolder; ++i)
            numbers[size_t(i)] = i;
        std::shuffle(numbers.begin(), numbers.end(), random);
        for (int n : numbers) {
            const QString name = QStringLiteral("IMG_%1 %2.JPG")
                                     .arg(n, 5, 10, QLatin1Char('0'))
                                     .arg(random.bounded(1000000), 6, 10, QLatin1Char('0'));
            f.files.push_back({name, f.sourceDir + QLatin1Char('/') + name});
        }
    };
    for (int t = 0; t < topLevel; ++t) {
        const QString name = QStringLiteral("Album %1").arg(t, 4, 10, QLatin1Char('0'));
        folders.push_back({-1, name, QStringLiteral("/home/user/Pictures/") + name, {}});
        addFiles(folders.back());
        const int top = int(folders.size()) - 1;
        for (int s = 0; s < perTop; ++s) {
            const QString sub = QStringLiteral("Day %1").arg(s, 4, 10, QLatin1Char('0'));
            folders.push_back({top, sub, folders[size_t(top)].sourceDir + QLatin1Char('/') + sub, {}});
            addFiles(folders.back());
        }
    }
    return folders;
}

int fileCount(const std::vector<FolderInput> &tree)
{
    int n = 0;
    for (const FolderInput &f : tree)
        n += int(f.files.size());
    return n;
}

// Builds the tree the way the adding code does: node, parent's name set, then the files,
// under a fill or one by one.
void buildModel(ProjectModel &project, const std::vector<FolderInput> &tree, bool fill)
{
    ProjectFolder *root = project.NewDataProject(QStringLiteral("BENCH"), QStringLiteral("CDROM"));
    std::vector<ProjectFolder *> nodes;
    nodes.reserve(tree.size());
    for (const FolderInput &f : tree) {
        ProjectFolder *parent = f.parent < 0 ? root : nodes[size_t(f.parent)];
        ProjectFolder *node = project.AddFolderNode(parent, f.name);
        parent->dane().NameSet.add(f.name);
        node->dane().SourceDir = f.sourceDir;
        nodes.push_back(node);
        if (fill)
            project.BeginFill(node);
        for (const FileInput &file : f.files) {
            if (!node->dane().NameSet.contains(file.name)) // the adding code's duplicate check
                project.AddFile(node, file.name, file.source, 12345);
        }
        if (fill)
            project.EndFill(node);
    }
}

struct Figures {
    double usPerFile = 0;
    double residentPerFile = 0;
    double heapPerFile = 0;
};

Figures measure(int files, const std::function<void()> &run)
{
    settle();
    const Memory before = memoryNow();
    QElapsedTimer timer;
    timer.start();
    run();
    const double us = double(timer.nsecsElapsed()) / 1000.0;
    const Memory after = memoryNow();
    return {us / files, double(after.resident - before.resident) / files,
            double(after.heap - before.heap) / files};
}

void print(const char *what, const Figures &f)
{
    std::printf("  %-46s %8.3f us/file  %7.0f B/file resident  %7.0f B/file heap\n", what, f.usPerFile,
                f.residentPerFile, f.heapPerFile);
}

// The baseline: the same entry strings made and appended to a list, then sorted once.
void buildBaseline(QStringList &list, const std::vector<FolderInput> &tree)
{
    for (const FolderInput &f : tree)
        for (const FileInput &file : f.files)
            list.append(file.name + QLatin1Char(':') + file.source);
    std::sort(list.begin(), list.end(),
              [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
}

double msSince(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SilentPrompter prompter;

    const std::vector<FolderInput> tree = makeTree(40, 49, 50);
    const int treeFiles = fileCount(tree);
    std::printf("Tree: %d files in %d folders (synthetic entries, ~%d characters each)\n", treeFiles,
                int(tree.size()), int(tree[1].files[0].name.size() + 1 + tree[1].files[0].source.size()));

    {
        auto project = std::make_unique<ProjectModel>(prompter);
        const Figures f = measure(treeFiles, [&] { buildModel(*project, tree, true); });
        print("project model, folders filled", f);

        QElapsedTimer timer;
        timer.start();
        int found = 0;
        std::function<void(const ProjectFolder &)> lookUpAll = [&](const ProjectFolder &folder) {
            for (int i = 0; i < folder.files().count(); ++i)
                found += project->FindFileEntry(&folder, folder.files()[i].name()) == i;
            for (int i = 0; i < folder.childCount(); ++i)
                lookUpAll(*folder.child(i));
        };
        lookUpAll(*project->root());
        std::printf("  FindFileEntry of every file                    %8.3f us/lookup (%d found)\n",
                    msSince(timer) * 1000.0 / std::max(found, 1), found);

        timer.restart();
        const TotalsDisplay totals = project->UpdateTotals(EstimateOptions());
        std::printf("  UpdateTotals over the tree                     %8.3f ms (%s, %d files)\n",
                    msSince(timer), qPrintable(totals.LblTotal), project->FileCount);

        // What the path-list writer does with every entry: destination "=" source.
        timer.restart();
        qint64 characters = 0;
        project->VisitFolders([&](const PathListFolder &folder) {
            const FileList &files = folder.folder.files();
            for (int i = 0; i < files.count(); ++i)
                characters +=
                    (folder.listPath + files[i].name() + QLatin1Char('=') + files[i].sourcePath()).size();
            return WalkStep::Continue;
        });
        std::printf("  path-list walk                                 %8.3f ms (%lld characters)\n",
                    msSince(timer), characters);

        timer.restart();
        project->ResetProject();
        std::printf("  ResetProject                                   %8.3f ms\n", msSince(timer));
    }
    {
        auto project = std::make_unique<ProjectModel>(prompter);
        ProjectTreeModel treeModel(*project);
        FolderListModel listModel(*project);
        const Figures f = measure(treeFiles, [&] { buildModel(*project, tree, true); });
        print("project model, filled, item models attached", f);
    }
    {
        auto project = std::make_unique<ProjectModel>(prompter);
        const Figures f = measure(treeFiles, [&] { buildModel(*project, tree, false); });
        print("project model, sorted insert per file", f);
    }
    {
        QStringList baseline;
        const Figures f = measure(treeFiles, [&] { buildBaseline(baseline, tree); });
        print("baseline: QStringList append + sort", f);
    }

    const std::vector<FolderInput> flat = makeTree(1, 0, 20000);
    const int flatFiles = fileCount(flat);
    std::printf("\nOne folder: %d files\n", flatFiles);
    {
        auto project = std::make_unique<ProjectModel>(prompter);
        print("project model, folder filled", measure(flatFiles, [&] { buildModel(*project, flat, true); }));
    }
    {
        auto project = std::make_unique<ProjectModel>(prompter);
        FolderListModel listModel(*project);
        const Figures f = measure(flatFiles, [&] {
            buildModel(*project, flat, false);
            listModel.setFolder(project->root()->child(0));
        });
        print("project model, sorted insert, list attached", f);
    }
    {
        QStringList baseline;
        print("baseline: QStringList append + sort",
              measure(flatFiles, [&] { buildBaseline(baseline, flat); }));
    }
    return 0;
}
