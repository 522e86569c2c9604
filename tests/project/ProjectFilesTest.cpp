// Save, Save As, Open and the recent files over real files: the messages, the caption, what
// a failed load leaves, and the question about an unsaved project.
#include "ProjectFixture.h"

#include "project/ProjectFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <deque>
#include <unistd.h>

namespace quillon::test {
namespace {

struct ScriptedFileAsker : ProjectFileAsker {
    std::deque<QString> saveNames; // an empty name stands for Cancel
    std::deque<QString> openNames;
    int saveAsked = 0;
    int openAsked = 0;
    static bool next(std::deque<QString> &names, QString &path)
    {
        if (names.empty())
            return false;
        path = names.front();
        names.pop_front();
        return !path.isEmpty();
    }
    bool askSaveFileName(QString &path) override
    {
        ++saveAsked;
        return next(saveNames, path);
    }
    bool askOpenFileName(QString &path) override
    {
        ++openAsked;
        return next(openNames, path);
    }
};

class ProjectFilesTest : public ProjectFixture {
protected:
    ProjectFilesTest()
    {
        hooks.setCaption = [this] { caption = project.WindowCaption(); };
        hooks.defaultDiscName = [] { return QStringLiteral("Quillon CD"); };
        hooks.abort = &abort;
        hooks.openImage = [this](const QString &path) { openedImages << path; };
        hooks.chkDeep = [this] { return chkDeep; };
        hooks.enableDeep = [this] { chkDeep = true; };
        hooks.finishLoad = [this] { ++finished; };
        files = std::make_unique<ProjectFiles>(project, prompter, asker, hooks);
    }

    QString path(const QString &name) const { return dir.filePath(name); }
    void writeFile(const QString &name, const QByteArray &bytes) const
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray readFile(const QString &name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // A saved data project with `count` entries in the root.
    QString savedProject(const QString &name, int count)
    {
        for (int i = 0; i < count; ++i)
            project.AddFileEntry(root, QStringLiteral("f%1").arg(i), QStringLiteral("/x/%1").arg(i), 0);
        project.ProjectModified = true;
        asker.saveNames = {path(name)};
        EXPECT_TRUE(files->ProjectSaveExecute());
        return path(name);
    }

    QTemporaryDir dir;
    ScriptedFileAsker asker;
    ProjectFiles::Hooks hooks;
    std::unique_ptr<ProjectFiles> files;
    QString caption;
    QStringList openedImages;
    bool abort = false;
    bool chkDeep = true;
    int finished = 0;
};

TEST_F(ProjectFilesTest, FirstSaveAsksForANameThenSavesThereWithoutAsking)
{
    const QString file = savedProject("a.qlp", 2);
    EXPECT_EQ(asker.saveAsked, 1);
    EXPECT_EQ(project.ProjectFileName, file);
    EXPECT_EQ(caption, "Quillon - a.qlp");
    EXPECT_FALSE(project.ProjectModified);
    EXPECT_EQ(files->recentFiles().items(), QStringList{file});
    EXPECT_EQ(readFile("a.qlp").left(3), QByteArray("\x03\xd3\x04"));

    project.ProjectModified = true;
    EXPECT_TRUE(files->ProjectSaveExecute());
    EXPECT_EQ(asker.saveAsked, 1) << "a named project is saved under its name";
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.qlp"}) << "no temporary file is left";
}

TEST_F(ProjectFilesTest, SavingReplacesTheOldFileInsteadOfRewritingIt)
{
    const QString file = savedProject("p.qlp", 1);
    const QByteArray before = readFile("p.qlp");
    // A second name for the old file sees what happens to its bytes.
    ASSERT_EQ(::link(QFile::encodeName(file).constData(), QFile::encodeName(path("old.lnk")).constData()), 0);
    project.AddFileEntry(root, QStringLiteral("more"), QStringLiteral("/x/more"), 0);
    ASSERT_TRUE(files->ProjectSaveExecute());
    EXPECT_EQ(readFile("old.lnk"), before) << "the old file was written over in place";
    EXPECT_NE(readFile("p.qlp"), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"old.lnk", "p.qlp"}));
}

TEST_F(ProjectFilesTest, AFileWrittenOnWindowsLoadsWithItsTextAndMissingSources)
{
    const QString file = QStringLiteral(QUILLON_FIXTURES "/project/windows-multisession.qlp");
    ASSERT_EQ(files->LoadProject(file), ProjectFiles::LoadResult::Loaded);
    EXPECT_TRUE(prompter.requests().isEmpty()) << "no message for the missing Windows sources";
    EXPECT_EQ(project.ProjectKind(), pkAddSession);
    EXPECT_EQ(project.NextSessionStart, 123456);
    EXPECT_EQ(project.MsDriveLetter, QLatin1Char('E'));
    EXPECT_EQ(project.ImageFile, "C:\\Temp\\Quillon.iso");
    ASSERT_NE(project.root(), nullptr);
    EXPECT_EQ(project.root()->text(), QStringLiteral("Urlaub Gr\u00fc\u00dfe"));
    EXPECT_TRUE(project.root()->dane().Changed);
    ASSERT_EQ(project.root()->files().count(), 2);
    EXPECT_EQ(project.root()->files()[1].text(),
              QStringLiteral("\u00dcbersicht \u2013 2004.txt:C:\\Daten\\\u00dcbersicht \u2013 2004.txt"));
    EXPECT_EQ(project.root()->files()[0].number(), 1) << "ALT.DOC is recorded on the disc";
    ASSERT_EQ(project.root()->childCount(), 1);
    EXPECT_EQ(project.root()->child(0)->dane().SourceDir, QStringLiteral("E:\\\u00c4\u00d6\u00dc"));
    EXPECT_TRUE(project.root()->child(0)->dane().FromImage);
    EXPECT_EQ(project.DataBytes(), 0) << "sources on C: are missing here";
    EXPECT_EQ(files->autorun().FolderToExplore, "Docs");
    EXPECT_EQ(files->autorun().AutorunAction, ProjectAutorun::ExploreFolder);
    EXPECT_EQ(files->autorun().IconColour, 16);
    EXPECT_EQ(files->autorun().Icon.size(), 30);
    EXPECT_EQ(caption, QStringLiteral("Quillon - windows-multisession.qlp"));
}

TEST_F(ProjectFilesTest, CdPlusAndAudioCopyFilesLoadAndSaveBackByteForByte)
{
    for (const char *name : {"cdplus-icon-audio.qlp", "audio-copy.qlp"}) {
        const QString fixture = QStringLiteral(QUILLON_FIXTURES "/project/") + QLatin1String(name);
        QFile f(fixture);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name;
        const QByteArray original = f.readAll();
        ASSERT_EQ(files->LoadProject(fixture), ProjectFiles::LoadResult::Loaded) << name;
        EXPECT_TRUE(prompter.requests().isEmpty()) << name;
        ASSERT_TRUE(files->writeProject(path(name))) << name;
        EXPECT_EQ(readFile(name).toHex(' '), original.toHex(' ')) << name;
    }
}

TEST_F(ProjectFilesTest, TheIconIsReadByItsLengthSoTheAudioBlockBehindItIsFound)
{
    ASSERT_EQ(files->LoadProject(QStringLiteral(QUILLON_FIXTURES "/project/cdplus-icon-audio.qlp")),
              ProjectFiles::LoadResult::Loaded);
    EXPECT_EQ(project.ProjectKind(), pkCdPlus);
    EXPECT_EQ(files->autorun().Icon.size(), 318);
    EXPECT_EQ(files->autorun().IconColour, -1);
    EXPECT_EQ(files->autorun().Program, "setup.exe");
    EXPECT_EQ(project.AlbumTitle, "Live");
    EXPECT_EQ(project.AlbumPerformer, "The Band");
    ASSERT_EQ(files->keptAudio().Tracks.size(), 2);
    EXPECT_EQ(files->keptAudio().Tracks[1].Title, QStringLiteral("Ballade f\u00fcr Elise"));
}

TEST_F(ProjectFilesTest, CancelledSaveDialogSavesNothing)
{
    project.ProjectModified = true;
    asker.saveNames = {QString()};
    EXPECT_FALSE(files->ProjectSaveExecute());
    EXPECT_TRUE(project.ProjectModified);
    EXPECT_EQ(project.ProjectFileName, "Untitled");
    EXPECT_TRUE(files->recentFiles().items().isEmpty());
}

TEST_F(ProjectFilesTest, SaveAsAlwaysAsksAndRenamesTheProject)
{
    savedProject("a.qlp", 1);
    asker.saveNames = {path("b.qlp")};
    EXPECT_TRUE(files->ProjectSaveAsExecute());
    EXPECT_EQ(caption, "Quillon - b.qlp");
    EXPECT_EQ(files->recentFiles().items(), (QStringList{path("b.qlp"), path("a.qlp")}));
}

TEST_F(ProjectFilesTest, AWriteErrorIsReportedAndTheProjectStaysModified)
{
    project.ProjectModified = true;
    const QString file = path("no/such/folder/p.qlp");
    asker.saveNames = {file};
    EXPECT_FALSE(files->ProjectSaveExecute());
    ASSERT_EQ(prompter.requests().size(), 1);
    EXPECT_EQ(prompter.requests()[0].text, "Error writing to file " + file);
    EXPECT_EQ(prompter.requests()[0].caption, "Write error");
    EXPECT_EQ(prompter.requests()[0].icon, PromptIcon::Error);
    EXPECT_TRUE(project.ProjectModified);
}

TEST_F(ProjectFilesTest, ADiscImageProjectIsNeverSaved)
{
    project.setProjectKind(pkDiscImage);
    EXPECT_FALSE(files->canSave());
    EXPECT_FALSE(files->ProjectSaveExecute());
    EXPECT_EQ(asker.saveAsked, 0);
}

TEST_F(ProjectFilesTest, LoadingNamesTheProjectAndClearsModified)
{
    const QString file = savedProject("p.qlp", 3);
    project.ResetProject();
    project.ProjectModified = true;
    EXPECT_EQ(files->LoadProject(file), ProjectFiles::LoadResult::Loaded);
    EXPECT_EQ(project.ProjectFileName, file);
    EXPECT_EQ(caption, "Quillon - p.qlp");
    EXPECT_FALSE(project.ProjectModified);
    ASSERT_NE(project.root(), nullptr);
    EXPECT_EQ(project.root()->files().count(), 3);
    EXPECT_EQ(finished, 1) << "the finishing step runs after every load";
    EXPECT_TRUE(prompter.requests().isEmpty());
}

TEST_F(ProjectFilesTest, NotAProjectChangesNothing)
{
    writeFile("junk.qlp", "PK\x03\x04 not a project");
    project.AddFileEntry(root, QStringLiteral("keep"), QStringLiteral("/k"), 0);
    project.ProjectFileName = QStringLiteral("/old/one.qlp");
    for (const QString &file : {path("junk.qlp"), path("missing.qlp")}) {
        prompter.clear();
        EXPECT_EQ(files->LoadProject(file), ProjectFiles::LoadResult::NotAProject);
        ASSERT_EQ(prompter.requests().size(), 1) << file.toStdString();
        EXPECT_EQ(prompter.requests()[0].text, "File is not a valid Quillon project!");
        EXPECT_EQ(prompter.requests()[0].caption, "Invalid file");
        EXPECT_EQ(project.root()->files().count(), 1) << "the previous project stays";
        EXPECT_EQ(project.ProjectFileName, "/old/one.qlp");
    }
}

TEST_F(ProjectFilesTest, ADamagedFileKeepsWhatWasReadButLeavesTheProjectUntitled)
{
    const QString file = savedProject("p.qlp", 10);
    QByteArray bytes = readFile("p.qlp");
    writeFile("cut.qlp", bytes.left(bytes.size() - 40));
    EXPECT_EQ(files->LoadProject(path("cut.qlp")), ProjectFiles::LoadResult::Damaged);
    ASSERT_EQ(prompter.requests().size(), 1);
    EXPECT_EQ(prompter.requests()[0].text, "Error reading file " + path("cut.qlp"));
    EXPECT_EQ(prompter.requests()[0].caption, "Read error");
    EXPECT_EQ(prompter.requests()[0].icon, PromptIcon::Error);
    EXPECT_GT(project.root()->files().count(), 0) << "what was read stays";
    EXPECT_LT(project.root()->files().count(), 10);
    EXPECT_EQ(project.ProjectFileName, "Untitled");
    EXPECT_EQ(caption, "Quillon - Untitled");

    // A later save asks for a name instead of overwriting the complete file.
    project.ProjectModified = true;
    asker.saveNames = {QString()};
    files->ProjectSaveExecute();
    EXPECT_EQ(asker.saveAsked, 2);
    EXPECT_EQ(readFile("p.qlp"), bytes);
}

TEST_F(ProjectFilesTest, ACancelledLoadIsUntitledWithoutAMessage)
{
    const QString file = savedProject("p.qlp", 120);
    hooks.pump = [this] { abort = true; };
    files = std::make_unique<ProjectFiles>(project, prompter, asker, hooks);
    prompter.clear();
    EXPECT_EQ(files->LoadProject(file), ProjectFiles::LoadResult::Aborted);
    EXPECT_TRUE(prompter.requests().isEmpty());
    EXPECT_EQ(project.root()->files().count(), 1);
    EXPECT_EQ(project.ProjectFileName, "Untitled");
}

TEST_F(ProjectFilesTest, ImageExtensionsInAnyCaseOpenAsImages)
{
    project.AddFileEntry(root, QStringLiteral("x"), QStringLiteral("/x"), 0);
    for (const char *name : {"x.ISO", "y.cue", "z.Bin", "w.raw"})
        EXPECT_EQ(files->LoadProject(path(name)), ProjectFiles::LoadResult::Image) << name;
    EXPECT_EQ(openedImages, (QStringList{path("x.ISO"), path("y.cue"), path("z.Bin"), path("w.raw")}));
    EXPECT_EQ(project.root(), nullptr) << "the project is reset before the image opens";
}

TEST_F(ProjectFilesTest, ADeepTreeAsksToAllowDeepFoldersUnlessTheyAre)
{
    chain(root, 8);
    const QString file = savedProject("deep.qlp", 0);
    for (const bool allowed : {true, false}) {
        chkDeep = allowed;
        prompter.clear();
        prompter.answer({pbYes});
        files->LoadProject(file);
        if (allowed) {
            EXPECT_TRUE(prompter.requests().isEmpty());
        } else {
            ASSERT_EQ(prompter.requests().size(), 1);
            EXPECT_EQ(
                prompter.requests()[0].text,
                "Max allowed folder depth is 8. You can disable this limit but this disc may be unreadable "
                "on some CD drives.\r\n Do you wish to enable deep folders?");
            EXPECT_EQ(prompter.requests()[0].caption, "Folders nested too deep");
            EXPECT_TRUE(chkDeep) << "Yes allows deep folders";
        }
    }
}

TEST_F(ProjectFilesTest, AudioCopyRowsAreKeptForTheNextSave)
{
    project.ResetProject();
    project.setProjectKind(pkAudioCopy);
    project.AlbumTitle = QStringLiteral("Album");
    AudioBlock rows;
    rows.RipTracks = {{true, QStringLiteral("01"), QStringLiteral("1:00"), QStringLiteral("10 MB"),
                       QStringLiteral("P"), QStringLiteral("T")}};
    hooks.collectAudio = [&rows] { return rows; };
    files = std::make_unique<ProjectFiles>(project, prompter, asker, hooks);
    asker.saveNames = {path("rip.qlp")};
    ASSERT_TRUE(files->ProjectSaveExecute());
    EXPECT_EQ(readFile("rip.qlp").left(3), QByteArray("\x03\xd6\x04"));

    hooks.collectAudio = nullptr;
    AudioBlock taken;
    hooks.takeAudio = [&taken](const AudioBlock &audio, TProjectKind kind) {
        EXPECT_EQ(kind, pkAudioCopy);
        taken = audio;
    };
    files = std::make_unique<ProjectFiles>(project, prompter, asker, hooks);
    ASSERT_EQ(files->LoadProject(path("rip.qlp")), ProjectFiles::LoadResult::Loaded);
    EXPECT_EQ(project.ProjectKind(), pkAudioCopy);
    EXPECT_EQ(project.AlbumTitle, "Album");
    EXPECT_EQ(taken.RipTracks, rows.RipTracks);
    EXPECT_EQ(files->keptAudio().RipTracks, rows.RipTracks);
}

// ---- the unsaved project ------------------------------------------------------------------

struct DiscardCase {
    const char *name;
    bool modified;
    std::initializer_list<PromptButton> answers;
    QString saveName; // what the save dialog answers; empty cancels it
    bool cancels;
    int questions;
};

TEST_F(ProjectFilesTest, ConfirmDiscardAsksOnlyAboutAModifiedProject)
{
    const DiscardCase cases[] = {
        {"unmodified: nothing asked", false, {}, {}, false, 0},
        {"No: discard", true, {pbNo}, {}, false, 1},
        {"Cancel: keep it", true, {pbCancel}, {}, true, 1},
        {"Yes and saved", true, {pbYes}, QStringLiteral("saved.qlp"), false, 1},
        {"Yes but the save dialog cancelled", true, {pbYes}, {}, true, 1},
    };
    for (const DiscardCase &c : cases) {
        project.ProjectFileName = QStringLiteral("Untitled");
        project.ProjectModified = c.modified;
        prompter.clear();
        prompter.answer(c.answers);
        asker.saveNames = {c.saveName.isEmpty() ? QString() : path(c.saveName)};
        EXPECT_EQ(files->ConfirmDiscard(), c.cancels) << c.name;
        ASSERT_EQ(prompter.requests().size(), c.questions) << c.name;
        if (c.questions) {
            const PromptRequest &q = prompter.requests()[0];
            EXPECT_EQ(q.text, "Project has been modified. Do you wish to save it?") << c.name;
            EXPECT_EQ(q.caption, "Project not saved") << c.name;
            EXPECT_EQ(q.buttons, pbYes | pbNo | pbCancel) << c.name;
            EXPECT_EQ(q.defaultButton, pbCancel) << c.name;
        }
    }
}

TEST_F(ProjectFilesTest, ChangedDiscTitlesOfAnAudioCopyAreSavedOrAskedAbout)
{
    bool titlesChanged = true;
    bool saveWithoutAsking = true;
    int titleSaves = 0;
    hooks.titlesModified = [&] { return titlesChanged; };
    hooks.saveTitles = [&] { ++titleSaves; };
    hooks.saveTitlesWithoutAsking = [&] { return saveWithoutAsking; };
    files = std::make_unique<ProjectFiles>(project, prompter, asker, hooks);
    project.setProjectKind(pkAudioCopy);

    EXPECT_FALSE(files->ConfirmDiscard());
    EXPECT_EQ(titleSaves, 1) << "ticked, the titles are saved without a question";
    EXPECT_TRUE(prompter.requests().isEmpty());

    saveWithoutAsking = false;
    prompter.answer({pbYes});
    EXPECT_FALSE(files->ConfirmDiscard());
    ASSERT_EQ(prompter.requests().size(), 1);
    EXPECT_EQ(prompter.requests()[0].text,
              "CDDB disc info (performers or titles) was modified. Do you wish to save it?");
    EXPECT_EQ(prompter.requests()[0].caption, "CDDB not saved");
    EXPECT_EQ(titleSaves, 2);

    prompter.clear();
    prompter.answer({pbCancel});
    project.ProjectModified = true;
    EXPECT_TRUE(files->ConfirmDiscard()) << "Cancel stops at once";
    EXPECT_EQ(prompter.requests().size(), 1) << "the project question does not follow";
}

// ---- recent files -----------------------------------------------------------------------

TEST_F(ProjectFilesTest, RecentFilesKeepTheNewestSevenOnceEach)
{
    RecentFiles &recent = files->recentFiles();
    for (int i = 0; i < 9; ++i)
        recent.add(QStringLiteral("/p/%1.qlp").arg(i));
    EXPECT_EQ(recent.items(), (QStringList{"/p/8.qlp", "/p/7.qlp", "/p/6.qlp", "/p/5.qlp", "/p/4.qlp",
                                           "/p/3.qlp", "/p/2.qlp"}));
    recent.add(QStringLiteral("/p/4.qlp"));
    EXPECT_EQ(recent.items().first(), "/p/4.qlp");
    EXPECT_EQ(recent.items().count("/p/4.qlp"), 1);
    EXPECT_EQ(recent.items().size(), 7);
    recent.setItems({"/a", "", "/b", "/a", "/c", "/d", "/e", "/f", "/g", "/h"});
    EXPECT_EQ(recent.items(), (QStringList{"/a", "/b", "/c", "/d", "/e", "/f", "/g"}));
    EXPECT_EQ(recent.removeObsolete([](const QString &p) { return p != "/b" && p != "/g"; }), 2);
    EXPECT_EQ(recent.items(), (QStringList{"/a", "/c", "/d", "/e", "/f"}));
    recent.clear();
    EXPECT_TRUE(recent.items().isEmpty());
}

TEST_F(ProjectFilesTest, ARecentEntryWhoseFileIsGoneIsReported)
{
    files->MRUItemClick(path("gone.qlp"));
    ASSERT_EQ(prompter.requests().size(), 1);
    EXPECT_EQ(prompter.requests()[0].text, "File " + path("gone.qlp") + " doesn't exist!");
    EXPECT_EQ(prompter.requests()[0].caption, "Error");
    EXPECT_EQ(prompter.requests()[0].icon, PromptIcon::Error);
}

TEST_F(ProjectFilesTest, ARecentEntryLoadsUnlessTheUnsavedQuestionIsCancelled)
{
    const QString file = savedProject("p.qlp", 2);
    project.ResetProject();
    project.NewDataProject(QString(), QStringLiteral("X"));
    project.ProjectModified = true;
    prompter.answer({pbCancel});
    files->MRUItemClick(file);
    EXPECT_EQ(project.root()->text(), "X") << "Cancel keeps the project";
    prompter.answer({pbNo});
    files->MRUItemClick(file);
    EXPECT_EQ(project.ProjectFileName, file);
    EXPECT_EQ(project.root()->files().count(), 2);
}

TEST_F(ProjectFilesTest, OpenAsksFirstThenPutsTheFileOnTopOfTheRecentList)
{
    const QString file = savedProject("p.qlp", 1);
    files->recentFiles().add(path("other.qlp"));
    asker.openNames = {file};
    files->ProjectLoadExecute();
    EXPECT_EQ(files->recentFiles().items().first(), file);
    EXPECT_EQ(project.ProjectFileName, file);
    EXPECT_EQ(caption, "Quillon - p.qlp");
}

} // namespace
} // namespace quillon::test
