#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

// The build puts the tool folder beside the program, with the bare names the program runs.
TEST(ToolFolderTest, LinksTheBareToolNamesToTheSystemTools)
{
    const QString folder = QStringLiteral(QUILLON_BINARY_DIR "/app/CdrTools/");
    struct Link {
        const char *name;
        const char *target;
    };
    const Link links[] = {{"mkisofs", "genisoimage"}, {"cdrecord", "wodim"}, {"readcd", "readom"},
                          {"cdda2wav", "icedax"},     {"isoinfo", "isoinfo"}, {"sh", "sh"}};
    for (const Link &link : links) {
        const QFileInfo info(folder + QLatin1String(link.name));
        EXPECT_TRUE(info.isSymLink()) << link.name << " is not a link in " << folder.toStdString();
        EXPECT_EQ(QFileInfo(info.symLinkTarget()).fileName(), QLatin1String(link.target)) << link.name;
    }
}

} // namespace
