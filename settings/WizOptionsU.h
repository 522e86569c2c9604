#pragma once
// The configuration wizard: the default recorder, the rip folder and the two MP3 tools, one
// page at a time. It works on copies of the options dialog's fields and writes them back only
// on Finish; its recorder list shows the options dialog's own recorder items with a current
// row of its own.
#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QToolButton;

namespace quillon {

class TDlgOptions;

class TWizOptions : public QDialog {
    Q_OBJECT
public:
    explicit TWizOptions(TDlgOptions &options, QWidget *parent = nullptr);
    ~TWizOptions() override;

    static constexpr int kPageCount = 6;
    int currentPage() const;

    QStackedWidget *Pages;
    QComboBox *ComboCDs;
    QToolButton *BtnDriveProp;
    QLabel *LblNote;
    QLabel *LblAspi; // the driver link, shown when no drive was found
    QLineEdit *DirRipOutput;
    QLineEdit *EditLame;
    QLineEdit *EditMP3Check;
    QPushButton *BtnBack;
    QPushButton *BtnNext;
    QPushButton *BtnFinish;
    QPushButton *BtnCancel;

    void BtnNextClick();
    void BtnBackClick();
    // Writes the wizard's choices back into the options dialog and saves its section.
    void BtnFinishClick();

    // Shows the wizard modally; tests answer through the hook, which runs instead of exec().
    int run();
    void setExecHook(std::function<int(TWizOptions &)> hook) { m_execHook = std::move(hook); }

private:
    // False when the page must stay.
    bool leavePage(int page);
    void showPage(int page);
    QWidget *textPage(const QStringList &lines, bool boldFirst);

    TDlgOptions &m_options;
    std::function<int(TWizOptions &)> m_execHook;
};

} // namespace quillon
