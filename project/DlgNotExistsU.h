#pragma once
// The small "file not found" question that adding items, writing the path list, the audio
// list and the WAVE checks share, each with its own caption and texts. Callers ask through
// NotExistsAsker so tests can answer from a script.
#include <QDialog>
#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace quillon {

struct NotExistsRequest {
    QString name;                                                  // shown in the read-only box
    QString caption = QStringLiteral("File not found");
    QString label = QStringLiteral("&File");
    QString text = QStringLiteral("was not found. Do you wish to continue?");
};

struct NotExistsAnswer {
    bool accepted = false;     // OK
    bool ignoreOthers = false; // ChkAuto, "&Ignore other files"
    bool goToDisk = false;     // the "Go to disk location" button (closes like Cancel)
};

class NotExistsAsker {
public:
    virtual ~NotExistsAsker() = default;
    virtual NotExistsAnswer ask(const NotExistsRequest &request) = 0;
};

class TDlgNotExists : public QDialog {
    Q_OBJECT
public:
    explicit TDlgNotExists(QWidget *parent = nullptr);
    void setRequest(const NotExistsRequest &request);
    NotExistsAnswer answer() const;

    QLabel *LblFile;
    QLineEdit *EditName;
    QToolButton *BtnGoToDisk;
    QLabel *LblText;
    QCheckBox *ChkAuto;

private:
    bool m_goToDisk = false;
};

// Shows TDlgNotExists modally.
class DialogNotExistsAsker : public NotExistsAsker {
public:
    explicit DialogNotExistsAsker(QWidget *parent = nullptr) : m_parent(parent) {}
    NotExistsAnswer ask(const NotExistsRequest &request) override;

private:
    QWidget *m_parent;
};

} // namespace quillon
