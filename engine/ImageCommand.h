#pragma once
// The mkisofs command that turns the project's path list into an ISO 9660 file system, and its
// size-calculation form.
#include "engine/BuiltCommand.h"
#include "engine/JobType.h"
#include "engine/RecorderAddress.h"

#include <QString>

namespace quillon {

class AppPaths;
class OptionsModel;

inline const QString imageBuilderProgram = QStringLiteral("mkisofs");

// The job dialog's and the main window's state the image command reads.
struct ImageCommandInputs {
    TJobType jobType = jtBuildImage;
    QString EditName; // the volume name
    QString EditFile; // the image file
    bool ChkOnTheFly = false;
    bool ChkMultisession = true;
    QString MsInfo;        // "start,next" of the disc being continued
    DeviceAddress msDrive; // the drive holding that disc (add session)
    // The options dialog's character-set text, without quotes; fromFile when "From a file" is
    // chosen, whose file name is then the argument even when empty.
    QString characterSet;
    bool characterSetFromFile = false;
};

// The options dialog's character-set text from the model: the first word of the chosen entry,
// or the characters file for "From a file", found by its position.
void setCharacterSet(ImageCommandInputs &inputs, const OptionsModel &options);

// One mkisofs command; its error is set when the previous session's drive is unknown.
BuiltCommand BuildImageCommand(const ImageCommandInputs &inputs, const OptionsModel &options,
                               const AppPaths &paths);
// The same with "-print-size -q" directly after the program name.
ToolCommand SizeCommand(const ToolCommand &imageCommand);
// The last line of the size pass's output as sectors; nothing when it is not a number.
std::optional<qint64> parseImageSize(const QString &lastLine);

} // namespace quillon
