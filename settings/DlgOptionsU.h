#pragma once
// The options dialog. It is created once at start and kept until the end. It holds the
// options model, which every part of the program reads at the moment it needs an option;
// the dialog's controls show and edit the model's values, and write into it as they change.
//
// Its handlers ask questions only while the dialog is shown (showing()), and they hang on the
// widgets' clicked and activated signals, so restoring values never raises a question.
// OK saves the "Options" section; Cancel restores it, which reverts every stored control,
// while the six controls that are not stored keep what the user changed.
#include "settings/OptionsModel.h"

#include <QDialog>
#include <QHash>
#include <QImage>
#include <QStringList>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QFontComboBox;
class QLabel;
class QLineEdit;
class QMovie;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTextEdit;
class QToolButton;
class QPushButton;

namespace quillon {

namespace disc {
class TkseCDDrives;
}

class IniStore;
class Prompter;
class RecorderListModel;
struct TOptions;

class TDlgOptions : public QDialog {
    Q_OBJECT
public:
    explicit TDlgOptions(QWidget *parent = nullptr);
    ~TDlgOptions() override;

    QTabWidget *PageControl1;
    // General
    QCheckBox *ChkStoreDir;
    QLineEdit *EditDefaultName;
    QCheckBox *ChkShowAds;
    QCheckBox *ChkUseBg;
    QLabel *ImageBg; // the preview
    QToolButton *RxSpeedButton1;
    QLabel *LblFreeIcons;
    QCheckBox *ChkUseFonts;
    QFontComboBox *FontAll;
    QToolButton *ColorFontAll;
    QToolButton *BtnFontAllBold;
    QToolButton *BtnFontAllItalic;
    QSpinBox *SpinFontAllSize;
    QTextEdit *MemoPreview;
    QSpinBox *RxSpin2;
    QLineEdit *EditBg;
    // CD writing
    QComboBox *ComboCDs; // default recorder
    QToolButton *BtnDriveProp;
    QSpinBox *SpinBuffer;
    QCheckBox *ChkEject;
    QCheckBox *ChkBurnproof;
    QCheckBox *ChkCalcSize;
    QCheckBox *ChkCdrecOptions;
    QLineEdit *EditCdrecOptions;
    QPushButton *Button2;
    QCheckBox *ChkForceErrors;
    QCheckBox *ChkCdrDaoOptions;
    QLineEdit *EditCdrDaoOptions;
    // Data CD
    QLineEdit *EditTmpFile;
    QComboBox *ComboCharacterSet;
    QPushButton *BtnDetectCharacterSet;
    QLineEdit *EditCharacterSet;
    QLabel *LblCharacterset;
    QCheckBox *ChkJoliet;
    QCheckBox *ChkIso31;
    QCheckBox *ChkDeep;
    QCheckBox *ChkPad;
    QCheckBox *ChkPublisherID;
    QLineEdit *EditPublisherID;
    QCheckBox *ChkAppID;
    QLineEdit *EditAppID;
    QCheckBox *ChkPreparerID;
    QLineEdit *EditPreparerID;
    QCheckBox *ChkIsoOptions;
    QLineEdit *EditIsoOptions;
    QCheckBox *CheckBox4;
    // Audio
    QCheckBox *ChkCdText;
    QCheckBox *ChkUpcaseCDText;
    QLineEdit *DirRipOutput;
    QCheckBox *ChkRipNorm;
    QComboBox *ComboRipNorm;
    QCheckBox *ChkRip2Mp3;
    QCheckBox *ChkDelRipWav;
    QCheckBox *ChkAskCDDB;
    // MP3
    QLineEdit *EditLame;
    QLabel *LblLame;
    QComboBox *ComboCompression;
    QComboBox *ComboQuality;
    QComboBox *ComboBitrateMin;
    QComboBox *ComboBitrateMax;
    QComboBox *ComboBitrate;
    QSpinBox *EditBitrate;
    QLineEdit *EditUserLame;
    QCheckBox *ChkFast;
    QComboBox *ComboFreq;
    QComboBox *ComboStereo;
    QCheckBox *ChkLameOptions;
    QLineEdit *EditLameOptions;
    QRadioButton *RadioTheSame;
    QRadioButton *RadioOutput;
    QLineEdit *DirOutput;
    QCheckBox *ChkMp3Comment;
    QLineEdit *EditMp3Comment;
    QCheckBox *ChkWriteAuthor;
    // Tools
    QLineEdit *EditMp3Check;
    QLabel *LblMp3Check;
    QCheckBox *ChkFixCRC;
    QCheckBox *ChrRemoveOK;
    QLineEdit *EditAudacity;
    QLabel *LblAudacity;
    QLineEdit *EditNormalize;
    QLabel *LblNormalize;
    // CDDB
    QCheckBox *CheckUseProxy;
    QLineEdit *EditProxy;
    QSpinBox *EditProxyPort;
    QLineEdit *EditProxyUser;
    QLineEdit *EditProxyPassword;
    QLineEdit *EditCddbServer;
    QLineEdit *EditCddbPath;
    QSpinBox *EditCddbPort;
    QCheckBox *ChkUseLocalCddb;
    QLineEdit *EditLocalCddb;

    // Every option by control name, key and default.
    OptionsModel &model() { return *m_model; }
    const OptionsModel &model() const { return *m_model; }

    // The drive list the recorder list is built from; the first restore (or this call, when
    // the dialog was restored already) lists the drives.
    void setDrives(disc::TkseCDDrives *drives);
    // The recorder items, shared with the configuration wizard's list.
    RecorderListModel &recorders() { return *m_recorders; }
    int FirstRecorder() const;

    // Reads the "Options" section into the model and the controls, then runs the restore
    // handler. The first call is the creation: it also lists the recorders, detects the
    // character set when none is chosen and starts the encoder lists at entry 0.
    void restoreSettings(const IniStore &ini);
    // Writes every key of the "Options" section.
    void saveSettings(IniStore &ini) const;

    // The settings store the dialog restores from after Cancel and saves into on OK, and the
    // data-file object that takes the proxy fields on OK.
    void setSettingsStore(IniStore *ini) { m_ini = ini; }
    void setDataOptions(TOptions *options) { m_dataOptions = options; }
    void setPrompter(Prompter *prompter) { m_prompter = prompter; }
    // Where the character-set detection looks; DetectSystemCharacterSet by default.
    void setCharacterSetDetector(std::function<QString()> detector) { m_detect = std::move(detector); }

    // What the dialog needs from the main window, which owns the project, the audio list, the
    // look, the browser and the system fixes.
    struct MainWindowHooks {
        std::function<void(const QString &)> setDefaultDiscName;
        std::function<void()> applyLook;
        std::function<void()> updateTotals;
        std::function<void(bool upperCase)> recaseCdText; // only when the box changed
        std::function<void(bool shown)> showBannerPanel;
        std::function<int()> deepestFolderLevel; // -1 without a data project
        std::function<bool()> driveButtonLocked; // a recording that cannot be cancelled runs
        std::function<void(int driveIndex, bool report)> disableCdAutorun;
        std::function<void(const QString &address)> openInNewBrowser;
    };
    void setMainWindowHooks(MainWindowHooks hooks) { m_hooks = std::move(hooks); }
    const MainWindowHooks &mainWindowHooks() const { return m_hooks; }
    Prompter *prompter() const { return m_prompter; }

    // Shows the dialog modally on the page with that caption ("CD writing", "MP3"; the
    // current page when empty or unknown). True when it was left with OK, after the data
    // file object and the main window have taken the new values.
    bool ShowOptionsDialog(const QString &pageCaption = QString());
    // Shows the dialog at a page with only its own closing steps, for the callers that look
    // at nothing but the closing button and the setting. True for OK.
    bool ShowAtPage(const QString &pageCaption);
    // Ticks ChkDeep and saves the section (a failed save is only logged).
    void AllowDeepFolders();
    // Saves the "Options" section into the settings store (a failed save is only logged).
    void saveSection();

    // The -input-charset value: the first word of the entry, or for "From a file" the file
    // name as it is (the command line quotes it); empty when nothing is selected.
    QString GetCharacterSet() const;
    bool characterSetFromFile() const;
    // "adapter,target,lun" of the recorder at that row (-1: the selected one); "0,0,0" for none.
    QString RecorderAddress(int index = -1) const;
    // The drive properties of the selected item of a list over the recorder items.
    void ShowDriveProperties(QComboBox *list);

    // The look: the background picture in use and whether it is the standard one.
    bool StandardLook() const { return m_standardLook; }
    bool LookChanged() const { return m_lookChanged; }
    const QImage &backgroundPicture() const { return m_imageBg; }
    // The GIF movie kept by the picture loader when the background is a GIF.
    QMovie *backgroundMovie() const { return m_gif.get(); }
    // The rule for dialogs with a speed bar: the background picture when ChkUseBg, the
    // font's name, colour and style (not its size) of `mainBarFont` when ChkUseFonts, and
    // the system button colour for the coloured buttons when the look is not the standard one.
    void ApplyDialogLook(QWidget *speedBar, const QFont &mainBarFont,
                         const QList<QWidget *> &colouredButtons) const;
    // Tiles the picture behind a bar (a null picture gives the system background back). The
    // widgets on the bar keep their own backgrounds.
    static void setBarBackground(QWidget *bar, const QImage &picture);

    // Tests answer the modal dialog here: when set, it runs instead of exec() while the
    // dialog counts as shown, and returns QDialog::Accepted or QDialog::Rejected.
    void setExecHook(std::function<int(TDlgOptions &)> hook) { m_execHook = std::move(hook); }
    // The same for the dialogs this one opens (drive properties, file choosers are not
    // hooked): run instead of their exec().
    void setSubDialogHook(std::function<int(QDialog &)> hook) { m_subDialogHook = std::move(hook); }
    // True while the dialog is shown to the user: only then do its handlers ask questions.
    bool showing() const { return m_showing; }

    // Handlers, public so that the wizard and the tests run them as the user's actions do.
    void ComboCDsChange();
    void ComboCharacterSetChange();
    void DetectCharacterSet();
    void EditCharacterSetExit();
    // False when the check failed (the message was shown and the field has the focus).
    bool EditTmpFileExit();
    void EditProxyExit();
    void EditCddbServerExit();
    void ComboCompressionChange();
    void DirOutputChosen(const QString &folder);
    // A picture chosen in the picture dialog; false when it could not be loaded.
    bool BackgroundChosen(const QString &file);
    // The addresses a link label opens, first the one its menu copies.
    QStringList linkAddresses(const QLabel *label) const;

private:
    void buildGeneralPage(QWidget *page);
    void buildWritingPage(QWidget *page);
    void buildDataPage(QWidget *page);
    void buildAudioPage(QWidget *page);
    void buildMp3Page(QWidget *page);
    void buildToolsPage(QWidget *page);
    void buildCddbPage(QWidget *page);
    void bindControls();
    void connectHandlers();
    void showModel();
    void restoreHandler();
    void listRecorders();
    void selectRecorder();
    void selectPage(const QString &caption);
    int execModal(const QString &pageCaption);
    void closeWithOk();
    void closeWithCancel();
    bool confirm(const QString &text, const QString &caption);
    void trimAndUncheck(QLineEdit *edit, QCheckBox *box);
    void showColour();
    void updatePreview();
    void fontControlChanged();
    void loadBackgroundFromSettings();
    void ChkUseBgClick();
    void RxSpeedButton1Click();
    void chooseFile(QLineEdit *edit);
    void chooseFolder(QLineEdit *edit);
    QLabel *linkLabel(const char *name, const QString &caption, const QString &hint, bool withMenu);
    void openLinks(const QLabel *label);
    void setLinkEnabled(QLabel *label, bool enabled);
    void setCompanionsVisible(QWidget *control, bool visible);

    std::unique_ptr<OptionsModel> m_model;
    RecorderListModel *m_recorders;
    disc::TkseCDDrives *m_drives = nullptr;
    bool m_restored = false;
    bool m_listed = false;
    bool m_fillingList = false;
    IniStore *m_ini = nullptr;
    TOptions *m_dataOptions = nullptr;
    Prompter *m_prompter = nullptr;
    MainWindowHooks m_hooks;
    std::function<QString()> m_detect;
    std::function<int(TDlgOptions &)> m_execHook;
    std::function<int(QDialog &)> m_subDialogHook;
    bool m_showing = false;

    QImage m_imageBg;
    QImage m_imageBgStd;
    std::unique_ptr<QMovie> m_gif;
    bool m_lookChanged = false;
    bool m_standardLook = true;

    QHash<QWidget *, QList<QWidget *>> m_companions; // labels and units that follow a control
    QHash<const QLabel *, QStringList> m_links;
    QHash<const QLabel *, QString> m_linkCaptions;
    QHash<QLineEdit *, QString> m_fileFilters;
};

} // namespace quillon
