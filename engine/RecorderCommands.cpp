#include "engine/RecorderCommands.h"

#include "settings/OptionsModel.h"

namespace quillon {

namespace {

const QString noRecorder = QStringLiteral("no recorder is selected");

QString fifoSize(const OptionsModel &options)
{
    return QStringLiteral("fs=%1m").arg(qRound(options.SpinBuffer()));
}

QString speedArgument(int speed)
{
    return QStringLiteral("speed=") + QString::number(speed);
}

// Speed to the burnproof option, shared by the record and audio commands.
void appendSpeedToDevice(ToolCommand &c, const RecorderInputs &in, const OptionsModel &options, bool eject)
{
    c << speedArgument(in.speed);
    if (options.ChkForceErrors())
        c << QStringLiteral("-force");
    if (eject)
        c << QStringLiteral("-eject");
    c << fifoSize(options);
    if (options.ChkCdrecOptions())
        c << CommandLine::splitArguments(options.EditCdrecOptions());
    c << QStringLiteral("dev=") + in.recorder.text;
    if (options.ChkBurnproof())
        c << QStringLiteral("driveropts=burnfree");
}

BuiltCommand start(const DeviceAddress &recorder)
{
    BuiltCommand b;
    b.commands << ToolCommand{recorderProgram, QStringLiteral("-v"), QStringLiteral("-immed")};
    if (!recorder.known)
        b.error = noRecorder;
    return b;
}

bool readsStandardInput(TJobType job)
{
    return job == jtDataDisc || job == jtAudioDisc || job == jtCdPlus || job == jtAddSession ||
           job == jtCopyDisc;
}

void appendTracks(BuiltCommand &b, const QStringList &tracks)
{
    for (const QString &t : tracks)
        b.addFile(t);
}

BuiltCommand audioCommand(const RecorderInputs &in, const OptionsModel &options, bool cdPlus, bool eject)
{
    BuiltCommand b = start(in.recorder);
    ToolCommand &c = b.commands.last();
    if (cdPlus)
        c << QStringLiteral("-multi");
    else if (in.ChkMultisession)
        c << QStringLiteral("-nofix");
    if (in.ChkOverBurn)
        c << QStringLiteral("-overburn");
    if (in.ChkTest)
        c << QStringLiteral("-dummy");
    appendSpeedToDevice(c, in, options, eject);
    c << QStringLiteral("-pad");
    if (options.ChkCdText() && !in.ChkMultisession)
        c << QStringLiteral("-dao");
    // Without the track information files cdrecord would read stale ones, or none.
    if (options.ChkCdText() && TrackInfoFilesWritten(cdPlus ? jtCdPlus : jtAudioDisc, in.ChkMultisession))
        c << QStringLiteral("-useinfo") << QStringLiteral("-text");
    c << QStringLiteral("-copy") << QStringLiteral("-audio");
    appendTracks(b, in.audioTracks);
    return b;
}

} // namespace

bool TrackInfoFilesWritten(TJobType jobType, bool multisession)
{
    return jobType == jtAudioDisc || (jobType == jtCdPlus && !multisession);
}

BuiltCommand BuildRecordCommand(const RecorderInputs &in, const OptionsModel &options)
{
    BuiltCommand b = start(in.recorder);
    ToolCommand &c = b.commands.last();
    if (in.ChkMultisession && in.multisessionVisible)
        c << QStringLiteral("-multi");
    if ((in.FJobType == jtAddSession && in.ChkOnTheFly) || in.FCdPlusAudio)
        c << QStringLiteral("-waiti");
    if (in.ChkOverBurn)
        c << QStringLiteral("-overburn");
    if (in.ChkTest)
        c << QStringLiteral("-dummy");
    appendSpeedToDevice(c, in, options, options.ChkEject());
    if (in.ChkOnTheFly && readsStandardInput(in.FJobType)) {
        c << QStringLiteral("-");
        return b;
    }
    if (in.ImageIsCue) {
        const QString cue = in.RewriteCueSheet ? in.RewriteCueSheet() : QString();
        c << QStringLiteral("-dao");
        b.addFile(cue, QStringLiteral("cuefile="));
        if (cue.isEmpty() && b.error.isEmpty())
            b.error = QStringLiteral("the CUE sheet could not be rewritten");
        return b;
    }
    if (!in.EditFile.isEmpty()) {
        c << QStringLiteral("-data");
        b.addFile(in.EditFile);
    }
    return b;
}

BuiltCommand BuildOnTheFlyCommand(const ImageCommandInputs &image, const RecorderInputs &in,
                                  const OptionsModel &options, const AppPaths &paths)
{
    return BuiltCommand::piped(BuildImageCommand(image, options, paths), BuildRecordCommand(in, options));
}

BuiltCommand BuildAudioCommand(const RecorderInputs &in, const OptionsModel &options, bool cdPlus)
{
    return audioCommand(in, options, cdPlus, options.ChkEject());
}

BuiltCommand BuildSessionAudioCommand(const ImageCommandInputs &image, const RecorderInputs &in,
                                      const OptionsModel &options, const AppPaths &paths)
{
    BuiltCommand b = BuildOnTheFlyCommand(image, in, options, paths);
    ToolCommand &c = b.commands.last();
    if (options.ChkCdText() && !in.ChkMultisession)
        c << QStringLiteral("-dao");
    // No -useinfo -text: an add-session job writes no track information files.
    c << QStringLiteral("-pad") << QStringLiteral("-copy") << QStringLiteral("-audio");
    appendTracks(b, in.audioTracks);
    return b;
}

BuiltCommand BuildEraseCommand(const RecorderInputs &in, const OptionsModel &options)
{
    BuiltCommand b = start(in.recorder);
    ToolCommand &c = b.commands.last();
    if (in.ChkOverBurn)
        c << QStringLiteral("-overburn");
    if (in.ChkTest)
        c << QStringLiteral("-dummy");
    c << speedArgument(in.speed);
    if (options.ChkForceErrors())
        c << QStringLiteral("-force");
    if (options.ChkEject())
        c << QStringLiteral("-eject");
    switch (in.erase) {
    case EraseMode::Fast:
        c << QStringLiteral("blank=fast");
        break;
    case EraseMode::Full:
        c << QStringLiteral("blank=all");
        break;
    case EraseMode::LastSession:
        c << QStringLiteral("blank=session");
        break;
    }
    c << QStringLiteral("dev=") + in.recorder.text;
    if (options.ChkBurnproof())
        c << QStringLiteral("driveropts=burnfree");
    return b;
}

BuiltCommand BuildFixateCommand(const RecorderInputs &in, const OptionsModel &options)
{
    BuiltCommand b = start(in.recorder);
    ToolCommand &c = b.commands.last();
    if (in.ChkOverBurn)
        c << QStringLiteral("-overburn");
    c << speedArgument(in.speed);
    if (options.ChkForceErrors())
        c << QStringLiteral("-force");
    if (options.ChkEject())
        c << QStringLiteral("-eject");
    c << QStringLiteral("-fix") << QStringLiteral("dev=") + in.recorder.text;
    if (options.ChkBurnproof())
        c << QStringLiteral("driveropts=burnfree");
    return b;
}

CdPlusAudioCommand BuildCdPlusAudioCommand(const RecorderInputs &in, const OptionsModel &options,
                                           const RecorderDevices &devices)
{
    CdPlusAudioCommand out;
    if (!in.recorder.known) {
        out.command.error = noRecorder;
        return out;
    }
    out.command = audioCommand(in, options, true, true);
    out.FCdPlusAudio = true;
    out.FCdPlusRecorder = options.ComboCDs();
    out.MsDriveLetter = devices.letterForRecorder(out.FCdPlusRecorder).value_or(QChar()).toUpper();
    return out;
}

bool InsertTrackSize(QList<ToolCommand> &commands, qint64 sectors)
{
    if (commands.isEmpty())
        return false;
    ToolCommand &recorder = commands.last();
    for (qsizetype i = 1; i < recorder.size(); ++i) {
        if (recorder.at(i).startsWith(QLatin1String("speed="))) {
            recorder.insert(i, QStringLiteral("tsize=%1s").arg(sectors));
            return true;
        }
    }
    return false;
}

JobCommand UpdateCmdLn(const JobCommandState &state)
{
    // The image part always follows the dialog's job type.
    ImageCommandInputs image = state.image;
    image.jobType = state.recorder.FJobType;
    const JobCommandState s{image,         state.recorder,   state.options,    state.paths,
                            state.devices, state.ripCommand, state.copyCommand};
    JobCommand out;
    switch (s.recorder.FJobType) {
    case jtBuildImage:
        out.command = BuildImageCommand(s.image, s.options, s.paths);
        break;
    case jtDataDisc:
        out.command = BuildOnTheFlyCommand(s.image, s.recorder, s.options, s.paths);
        break;
    case jtImageDisc:
        out.command = BuildRecordCommand(s.recorder, s.options);
        break;
    case jtErase:
        out.command = BuildEraseCommand(s.recorder, s.options);
        break;
    case jtAudioDisc:
        out.command = BuildAudioCommand(s.recorder, s.options, false);
        break;
    case jtCdPlus:
        out.cdPlus = BuildCdPlusAudioCommand(s.recorder, s.options, s.devices);
        out.command = out.cdPlus->command;
        break;
    case jtAddSession:
        out.command = !s.recorder.audioTracks.isEmpty() && s.recorder.audioTabShown
                          ? BuildSessionAudioCommand(s.image, s.recorder, s.options, s.paths)
                          : BuildOnTheFlyCommand(s.image, s.recorder, s.options, s.paths);
        break;
    case jtRipAudio:
        if (s.ripCommand)
            out.command = s.ripCommand();
        break;
    case jtCopyDisc:
        if (s.copyCommand)
            out.command = s.copyCommand();
        break;
    case jtFixate:
        out.command = BuildFixateCommand(s.recorder, s.options);
        break;
    }
    return out;
}

} // namespace quillon
