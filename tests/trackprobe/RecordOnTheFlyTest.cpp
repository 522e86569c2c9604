// A data disc recorded on the fly through the execution dialog: the emulated machine's blank
// CD-R stands behind the drive list and Trackprobe, so every disc check passes, and its tool
// device argument points the real cdrskin at a file-backed pseudo-drive, which the real
// genisoimage feeds through the script's pipe.
#include "EmulatedMachine.h"
#include "engine/ConsoleFixture.h"

#include "engine/DiscJobDrives.h"

#include <QProcess>
#include <unistd.h>

namespace quillon::test {
namespace {

class RecordOnTheFly : public ConsoleTest {
protected:
    void SetUp() override
    {
        if (!tools.addSystemTool("genisoimage", "mkisofs") || !tools.addSystemTool("cdrskin", "cdrecord") ||
            QStandardPaths::findExecutable("isoinfo").isEmpty())
            GTEST_SKIP() << "genisoimage, cdrskin or isoinfo is not installed";
        if (::geteuid() == 0 && !QFile::exists("/root/cdrskin_permissions/allow_emulated_drives"))
            GTEST_SKIP() << "as root cdrskin needs /root/cdrskin_permissions/allow_emulated_drives";
        std::string reason;
        ASSERT_TRUE(machine.start(&reason)) << reason;
        list = std::make_unique<disc::TkseCDDrives>();
        list->SetSessionInfoFunction(machine.sessionInfo());
        ASSERT_EQ(list->Count(), 3);
        realDrives = std::make_unique<DiscJobDrives>(*list, options);
        pseudoDrive = tools.root() + "/pseudo drive.img";
        realDrives->deviceOverride = [this](int index) -> std::optional<QString> {
            if (index == 0)
                return "stdio:" + pseudoDrive;
            return std::nullopt;
        };
        options.setComboCDs(0);
        options.setChkCalcSize(true);
        options.setChkCdrecOptions(true);
        options.setEditCdrecOptions("--allow_emulated_drives");

        source = tools.root() + "/files $(touch canary)";
        QDir().mkpath(source);
        QFile f(source + "/data \"1\".bin");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(3 << 20, 'q'));
        f.close();
        ProjectFolder *folder = project.AddFolderNode(project.root(), "Data = here");
        project.AddFile(folder, "data \"1\".bin", source + "/data \"1\".bin", 3 << 20);
        host.realPathList = true;
        host.total = "4 MB";
    }

    EmulatedMachineProcess machine;
    std::unique_ptr<disc::TkseCDDrives> list;
    std::unique_ptr<DiscJobDrives> realDrives;
    QString pseudoDrive, source;
};

TEST_F(RecordOnTheFly, APassingCheckListLeadsToAValidImageOnThePseudoDrive)
{
    ConsoleServices s{tools.paths(), prompter, options, *realDrives, host, nullptr, &screenSaver, {}, {}, {}};
    dialog = std::make_unique<TDlgConsole>(s);
    TDlgConsole &d = *dialog;
    d.setJobType(jtDataDisc);
    d.ChkMultisession->setChecked(false);
    d.show();
    EXPECT_TRUE(d.EditCmdLn->text().contains("dev=stdio:")) << d.EditCmdLn->text().toStdString();
    d.BtnStartClick();
    EXPECT_TRUE(prompter.requests().isEmpty()) << asked().join('\n').toStdString();
    ASSERT_TRUE(finish(120000));
    const QStringList log = logLines();
    EXPECT_TRUE(d.lastVerdict().success) << log.join('\n').toStdString();
    EXPECT_EQ(log.last(), "******* Finished successfully *******");
    EXPECT_EQ(screenSaver.inhibitions, 2);
    const qsizetype calc = log.indexOf("Calculating ISO image size...");
    ASSERT_GE(calc, 0);
    bool ok = false;
    const qint64 sectors = log.at(calc + 1).toLongLong(&ok);
    ASSERT_TRUE(ok) << log.at(calc + 1).toStdString();
    EXPECT_EQ(QFileInfo(pseudoDrive).size(), sectors * 2048);
    QProcess p;
    p.start("isoinfo", {"-J", "-f", "-i", pseudoDrive});
    p.waitForFinished();
    QStringList files = QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files.join('\n').toStdString(), "/Data = here\n/Data = here/data \"1\".bin");
    EXPECT_FALSE(QFile::exists(tools.tools() + "canary"));
}

} // namespace
} // namespace quillon::test
