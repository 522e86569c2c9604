#include "project/ProjectFiles.h"

#include "platform/DebugLog.h"
#include "platform/Prompter.h"
#include "project/ProjectModel.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace quillon {

namespace {

const QString kUntitled = QStringLiteral("Untitled");

bool isImageExtension(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toUpper();
    return suffix == QLatin1String("ISO") || suffix == QLatin1String("CUE") ||
           suffix == QLatin1String("BIN") || suffix == QLatin1String("RAW");
}

// The whole file, mapped where the system allows it.
class FileBytes {
public:
    explicit FileBytes(const QString &path)
        : m_file(path)
    {
        if (!m_file.open(QIODevice::ReadOnly)) {
            qCWarning(lcQuillon) << "cannot open project file" << path << m_file.errorString();
            return;
        }
        m_ok = true;
        const qint64 size = m_file.size();
        if (size > 0)
            if (const uchar *mapped = m_file.map(0, size))
                m_view = QByteArrayView(reinterpret_cast<const char *>(mapped), qsizetype(size));
        if (m_view.empty() && size != 0) {
            m_copy = m_file.readAll();
            m_view = m_copy;
        }
    }
    bool opened() const { return m_ok; }
    QByteArrayView bytes() const { return m_view; }

private:
    QFile m_file;
    QByteArray m_copy;
    QByteArrayView m_view;
    bool m_ok = false;
};

} // namespace

ProjectFiles::ProjectFiles(ProjectModel &model, Prompter &prompter, ProjectFileAsker &asker, Hooks hooks)
    : m_model(model)
    , m_prompter(prompter)
    , m_asker(asker)
    , m_hooks(std::move(hooks))
{
    // What the file keeps beside the tree belongs to the project and goes with it.
    connect(&m_model, &ProjectModel::projectReset, this, [this] {
        m_autorun = ProjectAutorun();
        m_audio = AudioBlock();
    });
}

ProjectFiles::~ProjectFiles() = default;

bool ProjectFiles::canSave() const
{
    return m_model.ProjectKind() != pkDiscImage;
}

AudioBlock ProjectFiles::audioToSave() const
{
    AudioBlock audio = m_hooks.collectAudio ? m_hooks.collectAudio() : m_audio;
    audio.AlbumTitle = m_model.AlbumTitle;
    audio.AlbumPerformer = m_model.AlbumPerformer;
    return audio;
}

void ProjectFiles::takeAudio(const AudioBlock &audio, TProjectKind kind)
{
    m_model.AlbumTitle = audio.AlbumTitle;
    m_model.AlbumPerformer = audio.AlbumPerformer;
    m_audio = audio;
    if (m_hooks.takeAudio)
        m_hooks.takeAudio(audio, kind);
}

// ---- saving ------------------------------------------------------------------------------

bool ProjectFiles::writeProject(const QString &path, QString *reason) const
{
    const TProjectKind kind = m_model.ProjectKind();
    const qint32 magic =
        ProjectMagicFor(ProjectModel::dataPageShown(kind), ProjectModel::audioPageShown(kind), kind);
    const QByteArray bytes = EncodeProject(m_model, magic, m_autorun, audioToSave());

    // The old file is replaced only by a complete new one: a full disk or a crash while
    // writing leaves the last good copy in place.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (reason)
            *reason = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

bool ProjectFiles::saveTo(const QString &path)
{
    m_recent.add(path);
    QString reason;
    if (!writeProject(path, &reason)) {
        qCWarning(lcQuillon) << "project not saved to" << path << reason;
        m_prompter.error(QStringLiteral("Error writing to file ") + path, QStringLiteral("Write error"));
        return false;
    }
    m_model.ProjectModified = false;
    return true;
}

bool ProjectFiles::ProjectSaveExecute()
{
    if (!canSave()) {
        qCWarning(lcQuillon) << "a disc-image project cannot be saved";
        return false;
    }
    if (m_model.ProjectFileName == kUntitled) {
        QString path;
        if (!m_asker.askSaveFileName(path))
            return false;
        m_model.ProjectFileName = path;
        if (m_hooks.setCaption)
            m_hooks.setCaption();
    }
    return saveTo(m_model.ProjectFileName);
}

bool ProjectFiles::ProjectSaveAsExecute()
{
    if (!canSave()) {
        qCWarning(lcQuillon) << "a disc-image project cannot be saved";
        return false;
    }
    QString path = m_model.ProjectFileName == kUntitled ? QString() : m_model.ProjectFileName;
    if (!m_asker.askSaveFileName(path))
        return false;
    m_model.ProjectFileName = path;
    if (m_hooks.setCaption)
        m_hooks.setCaption();
    return saveTo(path);
}

// ---- loading -----------------------------------------------------------------------------

void ProjectFiles::ProjectLoadExecute()
{
    if (ConfirmDiscard())
        return;
    QString path;
    if (!m_asker.askOpenFileName(path))
        return;
    m_recent.add(path);
    LoadProject(path);
}

void ProjectFiles::MRUItemClick(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        m_prompter.error(QStringLiteral("File ") + path + QStringLiteral(" doesn't exist!"),
                         QStringLiteral("Error"));
        return;
    }
    if (ConfirmDiscard())
        return;
    LoadProject(path);
}

ProjectFileReader::Hooks ProjectFiles::readerHooks() const
{
    ProjectFileReader::Hooks hooks;
    hooks.pump = m_hooks.pump;
    hooks.abort = m_hooks.abort;
    hooks.sizeOf = m_hooks.sizeOf;
    hooks.defaultDiscName = m_hooks.defaultDiscName ? m_hooks.defaultDiscName() : QString();
    return hooks;
}

ProjectFiles::LoadResult ProjectFiles::LoadProject(const QString &path)
{
    if (m_hooks.focusPages)
        m_hooks.focusPages();
    // Whatever happens below, the load ends with its deferred finishing step.
    struct Finish {
        const Hooks &hooks;
        ~Finish()
        {
            if (hooks.finishLoad && hooks.deferred)
                hooks.deferred(hooks.finishLoad);
            else if (hooks.finishLoad)
                hooks.finishLoad();
        }
    } finish{m_hooks};

    if (isImageExtension(path)) {
        m_model.ResetProject();
        if (m_hooks.openImage)
            m_hooks.openImage(path);
        else
            qCWarning(lcQuillon) << "opening disc images is not built yet:" << path;
        if (m_hooks.setCaption)
            m_hooks.setCaption();
        return LoadResult::Image;
    }

    const FileBytes file(path);
    const qint32 magic = file.opened() ? ProjectFileReader::peekMagic(file.bytes()) : 0;
    if (magic == 0) {
        m_prompter.error(QStringLiteral("File is not a valid Quillon project!"),
                         QStringLiteral("Invalid file"));
        return LoadResult::NotAProject;
    }

    m_model.ResetProject();
    m_model.ProjectFileName = path;
    ProjectFileReader reader(file.bytes(), readerHooks());
    using Outcome = ProjectFileReader::Outcome;
    Outcome outcome = Outcome::Damaged;
    bool readsTree = false;
    switch (magic) {
    case pmAudio:
    case pmAudioCopy: {
        const TProjectKind kind = magic == pmAudio ? pkAudio : pkAudioCopy;
        m_model.setProjectKind(kind);
        AudioBlock audio;
        outcome = reader.readAudioFile(m_model.ImageFile, audio);
        takeAudio(audio, kind);
        break;
    }
    case pmData:
    case pmAddSession:
    case pmCdPlus: {
        readsTree = true;
        if (m_hooks.abort)
            *m_hooks.abort = false;
        AudioBlock audio;
        const auto read = [&] {
            outcome = magic == pmCdPlus ? reader.readMixedFile(m_model, m_autorun, audio)
                                        : reader.readDataFile(m_model, m_autorun);
        };
        if (!m_hooks.runBusy || !m_hooks.runBusy(QStringLiteral("Loading project..."), read)) {
            if (m_hooks.runBusy)
                qCWarning(lcQuillon) << "the busy dialog is taken; the project is read without it";
            read();
        }
        if (magic == pmCdPlus) {
            takeAudio(audio, pkCdPlus);
            m_model.setProjectKind(pkCdPlus);
        }
        break;
    }
    default:
        break;
    }
    m_model.ProjectModified = false;

    if (m_hooks.projectLoaded)
        m_hooks.projectLoaded();
    if (outcome == Outcome::Damaged) {
        qCWarning(lcQuillon) << "project file" << path << "not read to its end:" << reader.error();
        m_prompter.error(QStringLiteral("Error reading file ") + m_model.ProjectFileName,
                         QStringLiteral("Read error"));
    } else if (readsTree) {
        deepFolderCheck();
        if (m_hooks.rewriteAutorun)
            m_hooks.rewriteAutorun();
        else
            qCInfo(lcQuillon) << "autorun files are not written yet after a load";
    }
    // A project that was not read whole must never be saved over the complete file.
    LoadResult result = LoadResult::Loaded;
    if (outcome != Outcome::Loaded) {
        m_model.ProjectFileName = kUntitled;
        result = outcome == Outcome::Aborted ? LoadResult::Aborted : LoadResult::Damaged;
    }
    if (m_hooks.setCaption)
        m_hooks.setCaption();
    return result;
}

void ProjectFiles::deepFolderCheck()
{
    if (m_hooks.chkDeep && m_hooks.chkDeep())
        return;
    int deepest = -1;
    m_model.VisitFolders([&deepest](const PathListFolder &folder) {
        deepest = std::max(deepest, folder.level);
        return WalkStep::Continue;
    });
    if (deepest < 8)
        return;
    if (m_prompter.confirm(
            QStringLiteral("Max allowed folder depth is 8. You can disable this limit but this disc "
                           "may be unreadable on some CD drives.\r\n Do you wish to enable deep "
                           "folders?"),
            QStringLiteral("Folders nested too deep")) &&
        m_hooks.enableDeep)
        m_hooks.enableDeep();
}

// ---- the unsaved project -----------------------------------------------------------------

bool ProjectFiles::ConfirmDiscard()
{
    bool result = m_model.ProjectModified;
    if (m_model.ProjectKind() == pkAudioCopy &&
        (m_model.ProjectModified || (m_hooks.titlesModified && m_hooks.titlesModified()))) {
        // A ticked ChkAskCDDB saves without asking; its caption says so.
        if (m_hooks.saveTitlesWithoutAsking && m_hooks.saveTitlesWithoutAsking()) {
            if (m_hooks.saveTitles)
                m_hooks.saveTitles();
        } else {
            const PromptButton answer = m_prompter.ask(
                {QStringLiteral(
                     "CDDB disc info (performers or titles) was modified. Do you wish to save it?"),
                 QStringLiteral("CDDB not saved"), PromptIcon::Question, pbYes | pbNo | pbCancel, pbCancel});
            if (answer == pbCancel)
                return true;
            if (answer == pbYes && m_hooks.saveTitles)
                m_hooks.saveTitles();
        }
    }
    if (m_model.ProjectModified) {
        const PromptButton answer = m_prompter.ask(
            {QStringLiteral("Project has been modified. Do you wish to save it?"),
             QStringLiteral("Project not saved"), PromptIcon::Question, pbYes | pbNo | pbCancel, pbCancel});
        if (answer == pbYes) {
            ProjectSaveExecute();
            result = m_model.ProjectModified;
        } else if (answer == pbNo) {
            result = false;
        } else {
            result = true;
        }
    }
    return result;
}

} // namespace quillon
