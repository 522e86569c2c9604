#pragma once
// The execution dialog with drives and a main window of the test's making: every drive's
// answers, and every service the dialog calls, are plain fields the test sets and reads.
#include "engine/DlgConsoleU.h"
#include "engine/JobHost.h"
#include "engine/LogWindow.h"
#include "engine/PathList.h"
#include "platform/ScreenSaver.h"
#include "project/ProjectModel.h"
#include "settings/OptionsModel.h"
#include "support/ScriptedNotExistsAsker.h"
#include "support/ScriptedPrompter.h"

#include "EngineFixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace quillon::test {

struct FakeJobDrive {
    QChar letter;
    bool canWrite = true;
    JobDiscState state = JobDiscState::Blank;
    qint64 capacity = 359847; // a blank 80-minute CD-R
    bool present = true;
    qint64 size = 0;
    QString device;
};

inline FakeJobDrive jobDrive(QChar letter)
{
    FakeJobDrive d;
    d.letter = letter;
    return d;
}

class FakeJobDrives : public JobDrives {
public:
    QList<FakeJobDrive> list;
    int recorder = 0;
    int loads = 0;
    std::function<void(int)> onLoad;

    int count() const override { return int(list.size()); }
    int recorderIndex() const override { return recorder < count() ? recorder : -1; }
    QChar letter(int i) const override { return list.value(i).letter; }
    bool canWrite(int i) override { return list.value(i).canWrite; }
    int maxWriteSpeed(int) override { return 48; }
    JobDiscState discState(int i) override
    {
        return list.value(i).present ? list.value(i).state : JobDiscState::NoDisc;
    }
    qint64 capacitySectors(int i) override { return list.value(i).present ? list.value(i).capacity : 0; }
    bool discPresent(int i) override { return list.value(i).present; }
    qint64 discSizeSectors(int i) override { return list.value(i).size; }
    void loadTray(int i) override
    {
        ++loads;
        if (onLoad)
            onLoad(i);
    }
    std::optional<QString> deviceArgument(int i) const override
    {
        if (i < 0 || i >= count())
            return std::nullopt;
        return list.at(i).device.isEmpty() ? QStringLiteral("/dev/sr%1").arg(i) : list.at(i).device;
    }
};

class FakeJobHost : public JobHost {
public:
    FakeJobHost(ProjectModel &project, OptionsModel &options, const AppPaths &paths)
        : m_project(project), m_options(options), m_paths(paths)
    {
    }
    ProjectModel &project() override { return m_project; }
    QString totalText() const override { return total; }
    int deepestFolderLevel() override { return depth; }
    bool writePathList() override
    {
        ++pathLists;
        if (!realPathList)
            return true;
        ScriptedNotExistsAsker asker;
        return WritePathList({m_project, m_options, m_paths, asker, {}, {}}).ok();
    }
    QStringList audioTracks() const override { return tracks; }
    bool showOptionsDialog(const QString &page) override
    {
        optionsPages << page;
        return optionsDialog ? optionsDialog() : false;
    }
    void allowDeepFolders() override { m_options.setChkDeep(true); }
    void showMediaInfo(int drive) override { mediaInfo << drive; }
    bool showProjectProperties() override
    {
        ++properties;
        return true;
    }
    bool writeTrackInfoFiles() override
    {
        ++trackInfoFiles;
        return true;
    }
    void ripTracks(TDlgConsole &) override { ++rips; }
    void addRecentFile(const QString &f) override { recent << f; }
    void setFileBrowserWatching(bool on) override { events << (on ? "watch on" : "watch off"); }
    void setTrayIconActive(bool on) override { events << (on ? "tray on" : "tray off"); }
    void leaveDrive(QChar l) override { events << QStringLiteral("leave %1").arg(l); }
    void ejectOrCloseTray() override { events << "eject"; }
    void shutDownComputer() override { events << "shutdown"; }

    QString total = QStringLiteral("10 MB");
    int depth = 1;
    QStringList tracks;
    bool realPathList = false;
    std::function<bool()> optionsDialog;
    QStringList optionsPages, recent, events;
    QList<int> mediaInfo;
    int pathLists = 0, properties = 0, trackInfoFiles = 0, rips = 0;

private:
    ProjectModel &m_project;
    OptionsModel &m_options;
    const AppPaths &m_paths;
};

class FakeScreenSaver : public ScreenSaverInhibitor {
public:
    void inhibit(const QString &) override
    {
        if (!m_held)
            ++inhibitions;
        m_held = true;
    }
    void release() override { m_held = false; }
    bool held() const override { return m_held; }
    int inhibitions = 0;

private:
    bool m_held = false;
};

class ConsoleTest : public ::testing::Test {
public:
    ConsoleTest()
    {
        tools.addFixture("fakeburner", "mkisofs");
        tools.addFixture("fakeburner", "cdrecord");
        tools.addFixture("fakeburner", "readcd");
        drives.list = {jobDrive('D')};
        project.NewDataProject(QString(), "CDROM");
        options.setChkDeep(false);
    }
    TDlgConsole &open(TJobType type)
    {
        ConsoleServices s{tools.paths(), prompter, options, drives, host, nullptr, nullptr, {}, {}, {}};
        s.screenSaver = &screenSaver;
        dialog = std::make_unique<TDlgConsole>(s);
        dialog->setJobType(type);
        if (type == jtBuildImage || type == jtImageDisc) {
            dialog->RadioCreateISO->setChecked(true);
            dialog->ChkOnTheFly->setChecked(false);
            dialog->EditFile->setEnabled(true);
        }
        dialog->show();
        return *dialog;
    }
    // Every message and question so far, as caption and text.
    QStringList asked() const
    {
        QStringList out;
        for (const PromptRequest &r : prompter.requests())
            out << r.caption + ": " + r.text;
        return out;
    }
    bool finish(int ms = 30000)
    {
        return waitUntil([&] { return dialog->verdictGiven(); }, ms);
    }
    QStringList logLines() const
    {
        dialog->log().flush();
        return dialog->log().logText().split('\n');
    }
    // The arguments of one call of a fake tool.
    QStringList call(const QString &tool, int n) const
    {
        QStringList args;
        const QString dir = tools.tools() + tool + ".calls/" + QString::number(n) + "/";
        for (int i = 1; QFile::exists(dir + QString::number(i)); ++i) {
            QFile f(dir + QString::number(i));
            f.open(QIODevice::ReadOnly);
            args << QString::fromUtf8(f.readAll());
        }
        return args;
    }
    int calls(const QString &tool) const
    {
        return int(QDir(tools.tools() + tool + ".calls").entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
    }
    void setToolFile(const QString &name, const QByteArray &content)
    {
        QFile f(tools.tools() + name);
        f.open(QIODevice::WriteOnly);
        f.write(content);
    }

    ToolFolder tools;
    ScriptedPrompter prompter;
    ProjectModel project{prompter};
    OptionsModel options;
    FakeJobDrives drives;
    FakeJobHost host{project, options, tools.paths()};
    FakeScreenSaver screenSaver;
    std::unique_ptr<TDlgConsole> dialog;
};

} // namespace quillon::test
