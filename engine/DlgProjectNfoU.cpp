#include "engine/DlgProjectNfoU.h"

#include "project/NameRules.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace quillon {

namespace {

QLineEdit *field(QWidget *parent, const char *name, bool readOnly)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setReadOnly(readOnly);
    return e;
}

QString withSeparators(int n) { return QLocale().toString(n); }

} // namespace

TDlgProjectNfo::TDlgProjectNfo(Prompter &prompter, QWidget *parent) : QDialog(parent), m_prompter(prompter)
{
    setObjectName(QStringLiteral("TDlgProjectNfo"));
    setWindowTitle(QStringLiteral("Project properties"));
    auto *top = new QVBoxLayout(this);
    Pages = new QTabWidget(this);
    top->addWidget(Pages);

    TabDataCd = new QWidget;
    TabDataCd->setObjectName(QStringLiteral("TabDataCd"));
    auto *data = new QFormLayout(TabDataCd);
    EditName = field(TabDataCd, "EditName", false);
    EditDataProjFile = field(TabDataCd, "EditDataProjFile", true);
    EditDataSize = field(TabDataCd, "EditDataSize", true);
    EditdataFiles = field(TabDataCd, "EditdataFiles", true);
    EditDirs = field(TabDataCd, "EditDirs", true);
    EditDataProjCreated = field(TabDataCd, "EditDataProjCreated", true);
    EditDataProjModif = field(TabDataCd, "EditDataProjModif", true);
    data->addRow(QStringLiteral("Volume &name:"), EditName);
    data->addRow(QStringLiteral("Project file:"), EditDataProjFile);
    data->addRow(QStringLiteral("Size:"), EditDataSize);
    data->addRow(QStringLiteral("Files:"), EditdataFiles);
    data->addRow(QStringLiteral("Directories:"), EditDirs);
    data->addRow(QStringLiteral("Created:"), EditDataProjCreated);
    data->addRow(QStringLiteral("Modified:"), EditDataProjModif);
    Pages->addTab(TabDataCd, QStringLiteral("Data"));

    TabAudio = new QWidget;
    TabAudio->setObjectName(QStringLiteral("TabAudio"));
    auto *audio = new QFormLayout(TabAudio);
    EditAudioTitle = field(TabAudio, "EditAudioTitle", false);
    EditAudioTitle->setMaxLength(128);
    EditAudioPerformer = field(TabAudio, "EditAudioPerformer", false);
    EditAudioPerformer->setMaxLength(128);
    EditAudioProjFile = field(TabAudio, "EditAudioProjFile", true);
    EditAudioSize = field(TabAudio, "EditAudioSize", true);
    EditAudioFiles = field(TabAudio, "EditAudioFiles", true);
    EditAudioProjCreated = field(TabAudio, "EditAudioProjCreated", true);
    EditAudioProjModif = field(TabAudio, "EditAudioProjModif", true);
    audio->addRow(QStringLiteral("&Album title:"), EditAudioTitle);
    audio->addRow(QStringLiteral("&Performer"), EditAudioPerformer);
    audio->addRow(QStringLiteral("Project file:"), EditAudioProjFile);
    audio->addRow(QStringLiteral("Size:"), EditAudioSize);
    audio->addRow(QStringLiteral("Files:"), EditAudioFiles);
    audio->addRow(QStringLiteral("Created:"), EditAudioProjCreated);
    audio->addRow(QStringLiteral("Modified:"), EditAudioProjModif);
    Pages->addTab(TabAudio, QStringLiteral("Audio"));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton *help = buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { emit helpRequested(0); });
    top->addWidget(buttons);

    for (QLineEdit *box : {EditName, EditAudioTitle, EditAudioPerformer})
        connect(box, &QLineEdit::editingFinished, this, [this, box] { EditAudioTitleExit(box); });
    resize(420, 320);
}

QString TDlgProjectNfo::timeText(const QDateTime &time) { return QLocale().toString(time, QLocale::ShortFormat); }

QDateTime TDlgProjectNfo::creationTime(const QString &fileName)
{
    const QFileInfo info(fileName);
    const QDateTime born = info.birthTime();
    return born.isValid() ? born : info.lastModified();
}

void TDlgProjectNfo::setFacts(const ProjectFacts &facts, const QDateTime &now)
{
    if (facts.hasRoot)
        EditName->setText(facts.rootName);
    EditName->setReadOnly(facts.nameReadOnly);
    Pages->setCurrentWidget(facts.audioPage ? TabAudio : TabDataCd);
    EditDataSize->setText(facts.dataSize);
    EditdataFiles->setText(withSeparators(facts.fileCount));
    EditDirs->setText(withSeparators(facts.folderCount));
    EditDataProjFile->setText(facts.projectFileName);
    const QFileInfo file(facts.projectFileName);
    const bool onDisk = !facts.projectFileName.isEmpty() && file.isFile();
    EditDataProjModif->setText(timeText(onDisk ? file.lastModified() : now));
    EditDataProjCreated->setText(timeText(onDisk ? creationTime(facts.projectFileName) : now));
    EditAudioProjFile->setText(EditDataProjFile->text());
    EditAudioProjCreated->setText(EditDataProjCreated->text());
    EditAudioProjModif->setText(EditDataProjModif->text());
    EditAudioTitle->setText(facts.albumTitle);
    EditAudioPerformer->setText(facts.albumPerformer);
    EditAudioSize->setText(facts.audioSize);
    EditAudioFiles->setText(withSeparators(facts.audioFiles));
}

void TDlgProjectNfo::EditAudioTitleExit(QLineEdit *box)
{
    QString text = box->text().trimmed();
    if (box == EditName && !EditName->isReadOnly())
        CheckDiscName(text, m_prompter);
    if (text != box->text())
        box->setText(text);
}

void TDlgProjectNfo::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (Pages->currentWidget() == TabDataCd)
        EditName->setFocus();
    else
        EditAudioTitle->setFocus();
}

void TDlgProjectNfo::done(int result)
{
    // The names are checked however the dialog closes; it always closes.
    for (QLineEdit *box : {EditName, EditAudioTitle, EditAudioPerformer}) {
        const QSignalBlocker quiet(box);
        EditAudioTitleExit(box);
    }
    QDialog::done(result);
}

} // namespace quillon
