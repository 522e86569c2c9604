#include "project/NameRules.h"

#include "platform/Prompter.h"

namespace quillon {

namespace NameRules {

bool isForbiddenChar(QChar c)
{
    switch (c.unicode()) {
    case '?':
    case '*':
    case '|':
    case '"':
    case '<':
    case '>':
    case '/':
    case '\\':
    case ':':
        return true;
    default:
        return false;
    }
}

bool hasForbiddenChar(const QString &name)
{
    for (QChar c : name)
        if (isForbiddenChar(c))
            return true;
    return false;
}

QString replaceForbiddenChars(const QString &name)
{
    QString result = name;
    for (QChar &c : result)
        if (isForbiddenChar(c))
            c = QLatin1Char('_');
    return result;
}

bool hasLineBreak(const QString &name)
{
    return name.contains(QLatin1Char('\n')) || name.contains(QLatin1Char('\r'));
}

QString extensionOf(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot);
}

QString shortenedName(const QString &name)
{
    const QString ext = extensionOf(name);
    const QString rest = name.left(name.size() - ext.size());
    QString result;
    if (ext.size() < rest.size())
        result = name.left(maxNameLength - ext.size()) + ext;
    else
        result = rest + ext.left(maxNameLength - rest.size());
    return result.size() <= maxNameLength ? result : QString();
}

QString numberedName(const QString &name, int n)
{
    QString ext = extensionOf(name);
    const QString suffix = QStringLiteral(" (%1)").arg(n);
    if (ext.size() > maxNameLength - suffix.size() - 1)
        ext = ext.left(maxNameLength - suffix.size() - 1);
    const QString stem = name.left(name.size() - extensionOf(name).size());
    return stem.left(maxNameLength - suffix.size() - ext.size()) + suffix + ext;
}

} // namespace NameRules

bool CheckNameChars(const QString &name, Prompter &prompter)
{
    if (NameRules::hasForbiddenChar(name)) {
        prompter.inform(QStringLiteral("Name cannot contain any of these characters:\r\n? * | \" < > / \\ :"),
                        QStringLiteral("Invalid characters"), PromptIcon::Warning);
        return false;
    }
    if (name.isEmpty()) {
        prompter.inform(QStringLiteral("Please specify a name!"), QStringLiteral("A name required"),
                        PromptIcon::Warning);
        return false;
    }
    if (name.size() > NameRules::maxNameLength) {
        prompter.inform(QStringLiteral("Please shorten this name!"), QStringLiteral("Name too long"),
                        PromptIcon::Warning);
        return false;
    }
    return true;
}

bool CheckDiscName(QString &name, Prompter &prompter)
{
    if (name.size() <= NameRules::maxDiscNameLength)
        return true;
    prompter.error(
        QStringLiteral("Disc name can contain max %1 characters!").arg(NameRules::maxDiscNameLength),
        QStringLiteral("Name too long"));
    name = name.left(NameRules::maxDiscNameLength);
    return false;
}

} // namespace quillon
