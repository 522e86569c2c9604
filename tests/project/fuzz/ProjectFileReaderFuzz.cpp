// libFuzzer target for the project file reader: any bytes either load or end in a read
// error, without a crash, a stack overflow or an allocation beyond the file's own size.
//
// The build has no fuzzing configuration yet; by hand, against a sanitizer build in BUILD
// (the reader's own sources are compiled in here so that the fuzzer sees their branches):
//   clang++-14 -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -I. $(Qt6 include flags) \
//     tests/project/fuzz/ProjectFileReaderFuzz.cpp project/TaggedStream.cpp project/ProjectText.cpp \
//     project/ProjectTextLinux.cpp project/ProjectFile.cpp BUILD/project/libquillon_project.a \
//     BUILD/platform/libquillon_platform.a -lQt6Widgets -lQt6Gui -lQt6Core -o ProjectFileReaderFuzz
// Run it with a small allocation limit, so that a count taken from the file unchecked shows,
// on a copy of tests/fixtures/project as its corpus (the fuzzer adds to that folder):
//   ProjectFileReaderFuzz -max_total_time=60 -malloc_limit_mb=64 -rss_limit_mb=1024 CORPUS
#include "platform/Prompter.h"
#include "project/ProjectFile.h"
#include "project/ProjectModel.h"

#include <QByteArrayView>
#include <QtGlobal>
#include <cstdint>
#include <cstdlib>

namespace {

class SilentPrompter : public quillon::Prompter {
public:
    quillon::PromptButton ask(const quillon::PromptRequest &request) override
    {
        return request.defaultButton;
    }
};

// Every folder the walk reaches must be counted, whatever the reader stopped on.
void checkTree(const quillon::ProjectModel &model)
{
    int folders = 0;
    model.VisitFolders([&folders](const quillon::PathListFolder &f) {
        ++folders;
        if (f.level > quillon::ProjectFileReader::maxFolderLevel)
            std::abort();
        return quillon::WalkStep::Continue;
    });
    if (folders != model.folderCount())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Every damaged input is logged; millions of them would drown the fuzzer's own output.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static SilentPrompter prompter;
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    quillon::ProjectModel model(prompter);
    quillon::ProjectAutorun autorun;
    quillon::AudioBlock audio;
    quillon::ProjectFileReader::Hooks hooks;
    hooks.defaultDiscName = QStringLiteral("CDROM");
    hooks.sizeOf = [](const QString &) { return qint64(1); }; // no disk access while fuzzing
    quillon::ProjectFileReader reader(bytes, hooks);
    switch (quillon::ProjectFileReader::peekMagic(bytes)) {
    case quillon::pmData:
    case quillon::pmAddSession:
        reader.readDataFile(model, autorun);
        break;
    case quillon::pmCdPlus:
        reader.readMixedFile(model, autorun, audio);
        break;
    case quillon::pmAudio:
    case quillon::pmAudioCopy:
        reader.readAudioFile(model.ImageFile, audio);
        break;
    default:
        return 0;
    }
    checkTree(model);
    return 0;
}
