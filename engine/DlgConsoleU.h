#pragma once
// The execution dialog: one disc job per dialog. The main window creates it for a job type,
// adjusts its controls and shows it modally; the user reviews the options and the command,
// presses Start and watches the tools' output until the verdict.
#include "engine/ImageCommand.h"
#include "engine/JobHost.h"
#include "engine/JobRun.h"
#include "engine/JobType.h"
#include "engine/RecorderCommands.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class QWidget;

namespace quillon {

class AppPaths;
class IniStore;
class LogWindow;
class OptionsModel;
class ProgramRunner;
class ProgressPanel;
class Prompter;
class ScreenSaverInhibitor;
class SpeedSnapper;
class SpeedSpinBox;
class TFormStorage;

// What the dialog is made with.
struct ConsoleServices {
    const AppPaths &paths;
    Prompter &prompter;
    OptionsModel &options;
    JobDrives &drives;
    JobHost &host;
    IniStore *settings = nullptr;                    // the "TDlgConsole" section; none in some tests
    ScreenSaverInhibitor *screenSaver = nullptr;
    // GetCharacterSet of the options dialog.
    std::function<void(ImageCommandInputs &)> characterSet;
    // The reading jobs' command builders.
    std::function<BuiltCommand()> ripCommand;
    std::function<BuiltCommand()> copyCommand;
};

class TDlgConsole : public QDialog {
    Q_OBJECT
public:
    TDlgConsole(const ConsoleServices &services, QWidget *parent = nullptr);
    ~TDlgConsole() override;

    static QString captionOf(TJobType type);
    static int helpTopicOf(TJobType type);

    TJobType FJobType = jtDataDisc;
    int FHelpTopic = 0;
    QString FDestDrive;
    int FNeedMB = -1;
    int FCdPlusRecorder = -1;

    // FNeedMB from the project-size label: the part after "/" up to "MB", -1 when unreadable.
    static int needMegabytes(const QString &totalText);
    // The file-name rule of EditFile: empty when the name is acceptable, else the message.
    struct FileNameProblem {
        QString text;
        QString caption;
    };
    static std::optional<FileNameProblem> checkFileName(const QString &fileName);

    void setJobType(TJobType type);
    // Rebuilds the command-line field from the controls.
    void UpdateCmdLn();

    void BtnStartClick();
    void BtnCancelaClick();
    // Exits of the name and file fields; the file exit returns false after its message.
    void EditNameExit();
    bool EditFileExit();

    JobRun &run() { return *m_run; }
    LogWindow &log() { return *EditOut; }
    const OutputParser::Verdict &lastVerdict() const { return m_verdict; }
    bool verdictGiven() const { return m_verdictGiven; }
    // The parser's option values for this run, as Start sets them.
    ParserOptions parserOptions() const;
    // How Start runs the job (the options' drive list is read at Start).
    ImageCommandInputs imageInputs() const;
    RecorderInputs recorderInputs() const;

    // Controls, by their design names.
    QWidget *PanelIso;
    QLabel *LblName;
    QLineEdit *EditName;
    QComboBox *ComboCDs;
    QComboBox *ComboCdDest;
    QToolButton *BtnMediaInfo;
    QToolButton *BtnMediaDst;
    QToolButton *BtnProjectProperties;
    QWidget *PanelRecord;
    QCheckBox *ChkMultisession;
    QLabel *LblMultisessionHint;
    QCheckBox *ChkOverBurn;
    QCheckBox *ChkTest;
    QLabel *LblSpeed;
    SpeedSpinBox *EditSpeed;
    QWidget *PanelCD;
    QRadioButton *ChkOnTheFly;
    QRadioButton *RadioCreateISO;
    QLineEdit *EditFile;
    QToolButton *BtnBrowseFile;
    QCheckBox *ChkDeleteISO;
    QLabel *LblPerformer;
    QLineEdit *EditPerformer;
    QLabel *LblCDPLusText;
    QWidget *PanelErase;
    QRadioButton *RadioFast;
    QRadioButton *RadioFull;
    QRadioButton *RadioLastSession;
    QLabel *LblRipDir;
    QLineEdit *DirRipOutput;
    QLabel *LblFixate;
    QPushButton *Button1;
    QCheckBox *ChkLog;
    QToolButton *RxSpeedButton2;
    LogWindow *EditOut;
    ProgressPanel *Progress;
    QLineEdit *EditCmdLn;
    QCheckBox *ChkShell;
    QPushButton *BtnStart;
    QPushButton *BtnCancel;
    QPushButton *BtnOK; // hidden
    QCheckBox *ChkShutdown;
    QAction *Eject;

    // The save-log dialog's folder, stored with the placement.
    QString saveLogFolder;
    // Tests replace the file dialog of EditFile's browse button: the chosen name, or empty.
    std::function<QString()> chooseImageFile;

signals:
    // F1: the help topic of the job type.
    void helpRequested(int topic);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void reject() override;

private:
    void buildControls();
    void restorePlacement();
    void storePlacement();
    void ChkMultisessionClick();
    void ChkOverBurnClick();
    void onTheFlyToggled();
    void EditFileBrowse();
    void BtnProjectPropertiesClick();
    void Button1Click();
    void setRunControlsEnabled(bool enabled);
    void continueStart(std::optional<qint64> trackSize);
    void onVerdict(const OutputParser::Verdict &verdict);
    bool askYes(const QString &text, const QString &caption, int icon = 0);
    bool checkDiscs();
    bool checkByJobType();
    int recorderForDisc() const;
    QChar letterOf(int driveIndex) const;
    FunctionRecorderDevices devices() const;
    bool isRecordingJob() const;
    bool copyOnTheFly() const;
    std::optional<CdPlusDataPart> cdPlusDataPart();

    ConsoleServices m_s;
    std::unique_ptr<JobRun> m_run;
    std::unique_ptr<ProgramRunner> m_programs;
    std::unique_ptr<SpeedSnapper> m_snapper;
    std::unique_ptr<TFormStorage> m_storage;
    QList<QWidget *> m_runControls;
    bool m_fileModified = false;
    bool m_nameModified = false;
    bool m_starting = false;
    bool m_closed = false;
    OutputParser::Verdict m_verdict;
    bool m_verdictGiven = false;
    bool m_onTheFlyRun = false;
    QTimer *Timer1;
};

} // namespace quillon
