#pragma once
// The cdrecord command lines of the disc jobs, as argument lists, and the command the job
// dialog shows for each job type.
#include "engine/BuiltCommand.h"
#include "engine/ImageCommand.h"
#include "engine/JobType.h"
#include "engine/RecorderAddress.h"

#include <QStringList>
#include <functional>
#include <optional>

namespace quillon {

class AppPaths;
class OptionsModel;

inline const QString recorderProgram = QStringLiteral("cdrecord");

enum class EraseMode { Fast, Full, LastSession }; // RadioFast, RadioFull, RadioLastSession

// The job dialog's and the main window's state the recorder commands read.
struct RecorderInputs {
    TJobType FJobType = jtDataDisc;
    bool ChkMultisession = true;
    bool multisessionVisible = true; // the dialog hides ChkMultisession for some jobs
    bool ChkOverBurn = false;
    bool ChkTest = false;
    bool ChkOnTheFly = false;
    QString EditFile;
    int speed = 8; // GetRecordSpeed
    EraseMode erase = EraseMode::Fast;
    bool FCdPlusAudio = false;
    bool ImageIsCue = false;
    DeviceAddress recorder;  // RecorderAddress
    QStringList audioTracks; // the audio list's file paths, in list order
    bool audioTabShown = false;
    // Rewrites the image's CUE sheet for recording and returns the rewritten sheet's name,
    // empty when it could not be written.
    std::function<QString()> RewriteCueSheet;
};

// Whether the job writes the track information files cdrecord's -useinfo reads: audio discs,
// and CD Plus discs without multisession.
bool TrackInfoFilesWritten(TJobType jobType, bool multisession);

BuiltCommand BuildRecordCommand(const RecorderInputs &in, const OptionsModel &options);
BuiltCommand BuildOnTheFlyCommand(const ImageCommandInputs &image, const RecorderInputs &in,
                                  const OptionsModel &options, const AppPaths &paths);
BuiltCommand BuildAudioCommand(const RecorderInputs &in, const OptionsModel &options, bool cdPlus);
BuiltCommand BuildSessionAudioCommand(const ImageCommandInputs &image, const RecorderInputs &in,
                                      const OptionsModel &options, const AppPaths &paths);
BuiltCommand BuildEraseCommand(const RecorderInputs &in, const OptionsModel &options);
BuiltCommand BuildFixateCommand(const RecorderInputs &in, const OptionsModel &options);

// The audio part of a CD Plus job, and what it tells the dialog and the main window: the data
// part continues this disc in this recorder.
struct CdPlusAudioCommand {
    BuiltCommand command; // empty when no recorder is selected
    bool FCdPlusAudio = false;
    int FCdPlusRecorder = -1;
    QChar MsDriveLetter;
};
// Always ejects, whatever the setting, so that the disc is read afresh before the data part.
CdPlusAudioCommand BuildCdPlusAudioCommand(const RecorderInputs &in, const OptionsModel &options,
                                           const RecorderDevices &devices);

// Puts " tsize=<sectors>s" before the speed= argument of the recorder, the last command.
// False when that command has no speed= argument.
bool InsertTrackSize(QList<ToolCommand> &commands, qint64 sectors);

// Everything UpdateCmdLn reads.
struct JobCommandState {
    const ImageCommandInputs &image;
    const RecorderInputs &recorder;
    const OptionsModel &options;
    const AppPaths &paths;
    const RecorderDevices &devices;
    // The reading jobs' commands come from their own builders.
    std::function<BuiltCommand()> ripCommand;
    std::function<BuiltCommand()> copyCommand;
};
struct JobCommand {
    BuiltCommand command;
    std::optional<CdPlusAudioCommand> cdPlus; // set for a CD Plus job: apply its state
    QString EditCmdLn() const { return command.text(); }
};
// The command of the job type, for the command-line field EditCmdLn.
JobCommand UpdateCmdLn(const JobCommandState &state);

} // namespace quillon
