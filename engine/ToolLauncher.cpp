#include "engine/ToolLauncher.h"

#include "engine/ProgramRunner.h"
#include "platform/AppPaths.h"
#include "platform/DebugLog.h"
#include "platform/Prompter.h"

namespace quillon {

ToolLauncher::ToolLauncher(const AppPaths &paths, Prompter &prompter, QObject *parent)
    : QObject(parent)
    , m_paths(paths)
    , m_prompter(prompter)
    , m_script(paths)
{
    m_timerDosCommand.setInterval(500);
    m_timerDosCommand.setSingleShot(true);
    connect(&m_timerDosCommand, &QTimer::timeout, this, [this] {
        m_timerDosCommand.stop();
        emit chainedStarting();
        const ToolCommand command = m_pendingStart;
        m_pendingStart.clear();
        m_runner.executeTool(command, m_paths.toolsDir());
    });
}

bool ToolLauncher::parse(const QString &commandText, QList<ToolCommand> &commands)
{
    const CommandLine::Parsed parsed = CommandLine::parse(commandText);
    if (!parsed.ok()) {
        qCWarning(lcQuillon) << "unreadable command line:" << parsed.error << commandText;
        m_prompter.error(QStringLiteral("The command line cannot be read: ") + parsed.error, QStringLiteral("Error"));
        return false;
    }
    commands = parsed.commands;
    return true;
}

QString ToolLauncher::echoLine(const QString &commandText) const { return m_paths.toolsDir() + commandText.trimmed(); }

bool ToolLauncher::prepare(const QString &commandText, bool onTheFly, ToolCommand &first)
{
    QList<ToolCommand> commands;
    if (!parse(commandText, commands))
        return false;
    m_next.clear();
    if (commands.size() == 2 && onTheFly) {
        if (!m_script.writeToolScript(commands, ToolScript::Join::Pipe, &m_prompter))
            return false;
        m_way = Way::ScriptedPipe;
        first = ToolCommand{m_script.shellProgram()} + m_script.shellArguments();
        return true;
    }
    m_way = commands.size() == 2 ? Way::Chain : Way::Direct;
    if (commands.size() == 2)
        m_next = commands.at(1);
    first = commands.first();
    return true;
}

bool ToolLauncher::start(const QString &commandText, bool onTheFly)
{
    ToolCommand first;
    if (!prepare(commandText, onTheFly, first))
        return false;
    m_runner.executeTool(first, m_paths.toolsDir());
    return true;
}

void ToolLauncher::runNextCommand()
{
    m_pendingStart = m_next;
    m_next.clear();
    m_timerDosCommand.start();
}

bool ToolLauncher::startLater(const QString &commandText, bool onTheFly)
{
    if (!prepare(commandText, onTheFly, m_pendingStart))
        return false;
    m_timerDosCommand.start();
    return true;
}

void ToolLauncher::cancelPendingStart()
{
    m_timerDosCommand.stop();
    m_pendingStart.clear();
}

void ToolLauncher::setTerminal(const QString &program, const QStringList &arguments)
{
    m_terminal = program;
    m_terminalArguments = arguments;
}

bool ToolLauncher::runThroughShell(const QString &commandText, bool onTheFly, ProgramRunner &programs)
{
    QList<ToolCommand> commands;
    if (!parse(commandText, commands))
        return false;
    // The pipe's body ends with its own exit; in a subshell it leaves the prompt below intact.
    QStringList body{QStringLiteral("(")};
    body += m_script.toolBody(commands, onTheFly ? ToolScript::Join::Pipe : ToolScript::Join::Steps);
    body << QStringLiteral(")");
    // The window would vanish with the last line of output otherwise.
    body << QStringLiteral("status=$?")
         << QStringLiteral("printf '\\nPress Enter to close this window. '")
         << QStringLiteral("read answer")
         << QStringLiteral("exit $status");
    if (!m_script.writeScript(body, true, &m_prompter))
        return false;
#ifdef Q_OS_WIN
    programs.runProgram(m_script.shellProgram(), CommandLine::quoteFileName(m_script.scriptFile()),
                        ProgramRunner::wsNormal, false, false);
#else
    QStringList words = m_terminalArguments;
    words << m_script.shellProgram() << m_script.scriptFile();
    QStringList quoted;
    for (const QString &w : words)
        quoted << CommandLine::quoteArgument(w);
    programs.runProgram(m_terminal, quoted.join(QLatin1Char(' ')), ProgramRunner::wsNormal, false, false);
#endif
    return !programs.programRunFailed();
}

} // namespace quillon
