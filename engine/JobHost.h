#pragma once
// What the job dialog asks of the rest of the program: the drives, and the main window with
// the dialogs it owns. The program connects the real ones; tests give their own.
#include "engine/JobType.h"

#include <QChar>
#include <QString>
#include <QStringList>
#include <optional>

namespace quillon {

class ProjectModel;
class TDlgConsole;

// What a drive holds, as the Start checks tell it apart.
enum class JobDiscState { NoDisc, Blank, Appendable, Closed, Unknown };

// The drive list, by position: an index into the options' recorder list is an index here.
class JobDrives {
public:
    virtual ~JobDrives() = default;
    virtual int count() const = 0;
    // The recorder selected in the options, -1 when none.
    virtual int recorderIndex() const = 0;
    // The letter the drive is shown under, followed by ":" in the drive selectors.
    virtual QChar letter(int index) const = 0;
    virtual bool canWrite(int index) = 0;
    virtual int maxWriteSpeed(int index) = 0; // as a speed factor, 0 when unknown
    virtual JobDiscState discState(int index) = 0;
    virtual qint64 capacitySectors(int index) = 0; // 0 when not available
    virtual bool discPresent(int index) = 0;
    // The sectors a copy reads from the disc in the drive; 0 without a disc.
    virtual qint64 discSizeSectors(int index) = 0;
    virtual void loadTray(int index) = 0;
    // The tool's device argument for the drive (dev=), nothing when there is none.
    virtual std::optional<QString> deviceArgument(int index) const = 0;

    int indexOfLetter(QChar l) const
    {
        for (int i = 0; i < count(); ++i)
            if (letter(i).toUpper() == l.toUpper())
                return i;
        return -1;
    }
    QString selectorText(int index) const { return QString(letter(index)) + QLatin1Char(':'); }
};

// The main window's side of a job.
class JobHost {
public:
    virtual ~JobHost() = default;
    virtual ProjectModel &project() = 0;
    // The text of the project-size label.
    virtual QString totalText() const = 0;
    // The level of the deepest folder of the data tree (the root is level 0).
    virtual int deepestFolderLevel() = 0;
    // Writes the image builder's path list of the project; false when the job must not go
    // on (the user stopped at a missing file, or the list could not be written).
    virtual bool writePathList() = 0;
    // The audio list's file paths in list order.
    virtual QStringList audioTracks() const = 0;

    // The options dialog on the page with this caption; true when it was closed with OK.
    virtual bool showOptionsDialog(const QString &pageCaption) = 0;
    virtual void allowDeepFolders() = 0;
    // The media-information window for the drive at this index.
    virtual void showMediaInfo(int driveIndex) = 0;
    // The project-properties dialog; true when it was closed with OK.
    virtual bool showProjectProperties() = 0;
    // The track information files of an audio or CD Plus job; false when the user cancelled.
    virtual bool writeTrackInfoFiles() = 0;
    // The rip job's per-track loop; it ends with the verdict.
    virtual void ripTracks(TDlgConsole &dialog) = 0;

    virtual void addRecentFile(const QString &fileName) = 0;
    // The file browser's change watching and the tray icon, off while a disc is written.
    virtual void setFileBrowserWatching(bool on) = 0;
    virtual void setTrayIconActive(bool on) = 0;
    // After a job on a drive: the file browser leaves a folder on it.
    virtual void leaveDrive(QChar letter) = 0;
    virtual void ejectOrCloseTray() = 0;
    virtual void shutDownComputer() = 0;
    virtual bool applicationTerminating() const { return false; }
};

} // namespace quillon
