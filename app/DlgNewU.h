#pragma once
// "New task": the kind of project to start, or a disc copy. The choice is remembered in the
// "Newtask" section when the chooser is left with OK.
#include <QDialog>
#include <memory>

class QRadioButton;

namespace quillon {

class IniStore;
class TFormStorage;

class TDlgNew : public QDialog {
    Q_OBJECT
public:
    enum Task { ntData, ntAudio, ntMixed, ntRecFromIso, ntDataCopy, ntMultisession, ntRipAudio };

    explicit TDlgNew(IniStore *settings, QWidget *parent = nullptr);
    ~TDlgNew() override;

    Task task() const;
    void setTask(Task task);

    QRadioButton *RadioData;
    QRadioButton *RadioAudio;
    QRadioButton *RadioMixed;
    QRadioButton *RadioRecFromIso;
    QRadioButton *RadioDataCopy;
    QRadioButton *RadioMultisession;
    QRadioButton *RadioRipAudio;

    void done(int result) override;

signals:
    void helpRequested(int topic);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QList<QRadioButton *> radios() const;
    IniStore *m_settings;
    std::unique_ptr<TFormStorage> m_storage;
};

} // namespace quillon
