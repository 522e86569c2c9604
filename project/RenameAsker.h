#pragma once
// The rename question that adding asks when a name is too long or taken. Callers ask through
// RenameAsker so tests can answer from a script; TDlgRename is the real one.
#include <QString>

namespace quillon {

struct RenameRequest {
    QString caption;
    QString label = QStringLiteral("&File");
    QString name; // the read-only box: the item's full path, or its name
    QString edit; // the proposed name
    QString text;
    bool autoRename = false; // "&Automatically rename files and folders"
};

struct RenameAnswer {
    bool accepted = false;
    QString newName; // trimmed
    bool autoRename = false;
    bool goToDisk = false; // closed through the go-to-disk button (like Cancel)
};

class RenameAsker {
public:
    virtual ~RenameAsker() = default;
    virtual RenameAnswer ask(const RenameRequest &request) = 0;
};

} // namespace quillon
