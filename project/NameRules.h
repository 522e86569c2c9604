#pragma once
// The rules every name on a data disc obeys, shared by adding, renaming, the new-folder
// command and the job entry. The checks report through the prompter; the helpers are silent.
#include <QString>

namespace quillon {

class Prompter;

namespace NameRules {
constexpr int maxNameLength = 64;
constexpr int maxDiscPathLength = 255;
constexpr int maxDiscNameLength = 16;

// One of ? * | " < > / \ : (they break the path list or the image's name tables).
bool isForbiddenChar(QChar c);
bool hasForbiddenChar(const QString &name);
// Every forbidden character replaced by "_".
QString replaceForbiddenChars(const QString &name);
bool hasLineBreak(const QString &name);
// From the last "." on, the dot included; empty without a dot.
QString extensionOf(const QString &name);
// A name longer than 64 characters cut to 64 keeping its extension where it can; empty
// when nothing sensible remains.
QString shortenedName(const QString &name);
// The name with " (n)" before its extension, cut so that the whole stays within 64
// characters whatever n is.
QString numberedName(const QString &name, int n);
} // namespace NameRules

// Accepts a name only without forbidden characters, not empty and at most 64 characters;
// the first rule broken is reported.
bool CheckNameChars(const QString &name, Prompter &prompter);
// A disc name of 17 characters or more is reported and cut to 16; false when it was cut.
bool CheckDiscName(QString &name, Prompter &prompter);

} // namespace quillon
