#pragma once
// A project with a scripted prompter and a fresh data-disc root, and small tree builders.
#include "project/ProjectModel.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <ostream>

// Failing assertions show the texts, not their bytes.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace quillon::test {

class ProjectFixture : public ::testing::Test {
protected:
    ProjectFixture() { root = project.NewDataProject(QString(), QStringLiteral("CDROM")); }

    // A folder as the adding code makes it: node, parent's name set, source folder.
    ProjectFolder *folder(ProjectFolder *parent, const QString &name, const QString &sourceDir = QString())
    {
        ProjectFolder *node = project.AddFolderNode(parent, name);
        parent->dane().NameSet.add(name);
        node->dane().SourceDir =
            sourceDir.isEmpty() ? parent->dane().SourceDir + QLatin1Char('\\') + name : sourceDir;
        return node;
    }
    // A chain of folders below `parent`, one per level; returns the deepest.
    ProjectFolder *chain(ProjectFolder *parent, int levels, const QString &prefix = QStringLiteral("L"))
    {
        for (int i = 0; i < levels; ++i)
            parent = folder(parent, prefix + QString::number(parent->level() + 1));
        return parent;
    }
    static QStringList entryTexts(const ProjectFolder *folder)
    {
        QStringList out;
        for (int i = 0; i < folder->files().count(); ++i)
            out << folder->files()[i].text();
        return out;
    }
    static QStringList childNames(const ProjectFolder *folder)
    {
        QStringList out;
        for (int i = 0; i < folder->childCount(); ++i)
            out << folder->child(i)->text();
        return out;
    }

    ScriptedPrompter prompter;
    ProjectModel project{prompter};
    ProjectFolder *root = nullptr;
};

} // namespace quillon::test
