#include "engine/ImageCommand.h"

#include "engine/PathList.h"
#include "platform/AppPaths.h"
#include "settings/OptionsLists.h"
#include "settings/OptionsModel.h"

namespace quillon {

void setCharacterSet(ImageCommandInputs &inputs, const OptionsModel &options)
{
    const int index = options.ComboCharacterSet();
    inputs.characterSetFromFile = index == kCharacterSetFromFile;
    inputs.characterSet = characterSetValue(index, options.EditCharacterSet());
}

BuiltCommand BuildImageCommand(const ImageCommandInputs &in, const OptionsModel &options,
                               const AppPaths &paths)
{
    BuiltCommand built;
    built.commands << ToolCommand{imageBuilderProgram};
    ToolCommand &c = built.commands.last();
    const bool addSession = in.jobType == jtAddSession;
    if (in.jobType == jtCdPlus || addSession)
        c << QStringLiteral("-C") << in.MsInfo;
    if (addSession) {
        c << QStringLiteral("-M") << in.msDrive.text << QStringLiteral("-check-oldnames");
        if (!in.msDrive.known)
            built.error = QStringLiteral("no drive holds the disc to continue");
    }
    if (!in.EditName.isEmpty())
        c << QStringLiteral("-V") << in.EditName;
    if (options.ChkAppID())
        c << QStringLiteral("-A") << options.EditAppID();
    if (options.ChkPublisherID())
        c << QStringLiteral("-P") << options.EditPublisherID();
    if (options.ChkPreparerID())
        c << QStringLiteral("-p") << options.EditPreparerID();
    if (options.ChkJoliet())
        c << QStringLiteral("-J");
    if (in.ChkMultisession || in.jobType == jtCdPlus || addSession)
        c << QStringLiteral("-R");
    if (in.characterSetFromFile) {
        c << QStringLiteral("-input-charset");
        built.addFile(in.characterSet);
    } else if (!in.characterSet.isEmpty()) {
        c << QStringLiteral("-input-charset") << in.characterSet;
    }
    c << QStringLiteral("-graft-points") << QStringLiteral("-path-list");
    built.addFile(pathListFile(paths));
    if (options.ChkDeep())
        c << QStringLiteral("-D");
    if (!options.ChkPad())
        c << QStringLiteral("-no-pad");
    if (options.ChkIso31())
        c << QStringLiteral("-l");
    if (options.ChkIsoOptions())
        c << CommandLine::splitArguments(options.EditIsoOptions());
    if (!in.EditFile.isEmpty() && !in.ChkOnTheFly) {
        c << QStringLiteral("-o");
        built.addFile(in.EditFile);
    }
    return built;
}

ToolCommand SizeCommand(const ToolCommand &imageCommand)
{
    ToolCommand c = imageCommand;
    if (c.isEmpty())
        return c;
    c.insert(1, QStringLiteral("-q"));
    c.insert(1, QStringLiteral("-print-size"));
    return c;
}

std::optional<qint64> parseImageSize(const QString &lastLine)
{
    bool ok = false;
    const qint64 sectors = lastLine.trimmed().toLongLong(&ok);
    if (!ok || sectors < 0)
        return std::nullopt;
    return sectors;
}

} // namespace quillon
