#include "engine/ToolScript.h"

#include "platform/AppPaths.h"
#include "platform/DebugLog.h"
#include "platform/Prompter.h"

#include <QDir>
#include <QSaveFile>
#include <QStringEncoder>

namespace quillon {

ToolScript::ToolScript(const AppPaths &paths)
    : m_paths(paths)
{
}

QString ToolScript::scriptFile() const { return m_paths.workDir() + QStringLiteral("script.txt"); }
QString ToolScript::statusFile() const { return m_paths.workDir() + QStringLiteral("script.status"); }
QString ToolScript::shellProgram() const { return m_paths.toolPath(QStringLiteral("sh")); }

QString ToolScript::word(const QString &text) const
{
#ifdef Q_OS_WIN
    // The Windows shell takes forward slashes; a Windows name cannot hold a backslash itself.
    return CommandLine::shellQuote(QDir::fromNativeSeparators(text));
#else
    return CommandLine::shellQuote(text);
#endif
}

QString ToolScript::scriptText(const QStringList &body, bool withCd) const
{
#ifdef Q_OS_WIN
    const QString eol = QStringLiteral("\r\n");
#else
    const QString eol = QStringLiteral("\n");
#endif
    QString out = QStringLiteral("#!sh") + eol;
    if (withCd)
        out += QStringLiteral("cd ") + word(QDir::fromNativeSeparators(m_paths.toolsDir())) + eol;
    for (const QString &line : body)
        out += line + eol;
    return out;
}

QStringList ToolScript::toolBody(const QList<ToolCommand> &commands, Join join) const
{
    auto call = [this](const ToolCommand &c) {
        QStringList words;
        for (qsizetype i = 0; i < c.size(); ++i)
            words << (i == 0 ? QStringLiteral("./") + word(c.at(i)) : word(c.at(i)));
        return words.join(QLatin1Char(' '));
    };
    if (commands.isEmpty())
        return {};
    if (commands.size() == 1)
        return {call(commands.first())};
    if (join == Join::Steps)
        return {call(commands.at(0)) + QStringLiteral(" && ") + call(commands.at(1))};
    const QString status = word(statusFile());
    return {
        QStringLiteral("rm -f ") + status,
        QStringLiteral("{ ") + call(commands.at(0)) + QStringLiteral("; echo $? >") + status +
            QStringLiteral("; } | ") + call(commands.at(1)),
        QStringLiteral("last=$?"),
        QStringLiteral("first=$(cat ") + status + QStringLiteral(" 2>/dev/null)"),
        // No status at all means the first program never got to finish.
        QStringLiteral("if [ \"${first:-1}\" != 0 ]; then exit \"${first:-1}\"; fi"),
        QStringLiteral("exit $last"),
    };
}

bool ToolScript::writeScript(const QStringList &body, bool withCd, Prompter *showErrors) const
{
    QSaveFile file(scriptFile());
    QDir().mkpath(m_paths.workDir());
    bool ok = file.open(QIODevice::WriteOnly);
    if (ok) {
        QStringEncoder encoder(QStringEncoder::System);
        const QByteArray bytes = encoder.encode(scriptText(body, withCd));
        ok = file.write(bytes) == bytes.size() && file.commit();
    }
    if (!ok) {
        qCWarning(lcQuillon) << "cannot write the tool script" << scriptFile() << file.errorString();
        if (showErrors)
            showErrors->error(QStringLiteral("Error writing to file ") + scriptFile(), QStringLiteral("Error"));
    }
    return ok;
}

bool ToolScript::writeToolScript(const QList<ToolCommand> &commands, Join join, Prompter *showErrors) const
{
    return writeScript(toolBody(commands, join), true, showErrors);
}

} // namespace quillon
