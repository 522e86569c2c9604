#include "settings/WizOptionsU.h"

#include "platform/DebugLog.h"
#include "platform/Prompter.h"
#include "settings/DlgOptionsU.h"
#include "settings/OptionsLists.h"
#include "settings/RecorderList.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStackedWidget>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillon {

namespace {

QPixmap wizardPicture()
{
    QPixmap picture(140, 300);
    QPainter p(&picture);
    QLinearGradient g(0, 0, 0, 300);
    g.setColorAt(0, QColor(0x2b, 0x4f, 0x8a));
    g.setColorAt(1, QColor(0x9c, 0xb8, 0xe0));
    p.fillRect(picture.rect(), g);
    const QIcon disc = QApplication::style()->standardIcon(QStyle::SP_DriveCDIcon);
    p.drawPixmap(30, 40, disc.pixmap(80, 80));
    return picture;
}

QString noDriveNote()
{
#ifdef Q_OS_WIN
    return QStringLiteral("No CD drive detected. Please download newer version of ASPI drivers\r\n"
                          "or try ForceAspi - usually works better");
#else
    return QStringLiteral("No CD drive detected. Check that the drive is connected and that your user is\r\n"
                          "a member of the \"cdrom\" group; log in again after adding it.");
#endif
}

QLabel *wrapped(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

QToolButton *browseButton(QWidget *parent)
{
    auto *b = new QToolButton(parent);
    b->setText(QStringLiteral("..."));
    return b;
}

} // namespace

TWizOptions::TWizOptions(TDlgOptions &options, QWidget *parent)
    : QDialog(parent)
    , m_options(options)
{
    setObjectName(QStringLiteral("WizOptions"));
    setWindowTitle(QStringLiteral("Configuration wizard"));
    auto *outer = new QVBoxLayout(this);
    auto *body = new QHBoxLayout;
    auto *picture = new QLabel(this);
    picture->setPixmap(wizardPicture());
    body->addWidget(picture);
    Pages = new QStackedWidget(this);
    body->addWidget(Pages, 1);
    outer->addLayout(body, 1);

    Pages->addWidget(textPage(
        {QStringLiteral("Welcome to Quillon!"), QStringLiteral("This wizard will set necessary options.")},
        true));

    auto *recorder = new QWidget;
    auto *rv = new QVBoxLayout(recorder);
    rv->addWidget(wrapped(QStringLiteral("Please select your CD/DVD recorder:"), recorder));
    auto *row = new QHBoxLayout;
    ComboCDs = new QComboBox(recorder);
    ComboCDs->setObjectName(QStringLiteral("ComboCDs"));
    ComboCDs->setModel(&options.recorders());
    ComboCDs->setCurrentIndex(options.ComboCDs->currentIndex());
    row->addWidget(ComboCDs, 1);
    BtnDriveProp = new QToolButton(recorder);
    BtnDriveProp->setObjectName(QStringLiteral("BtnDriveProp"));
    BtnDriveProp->setText(QStringLiteral("..."));
    BtnDriveProp->setToolTip(QStringLiteral("Properties"));
    row->addWidget(BtnDriveProp);
    rv->addLayout(row);
    LblNote = wrapped(QStringLiteral("It will be default drive for recording operations."), recorder);
    LblNote->setObjectName(QStringLiteral("LblNote"));
    rv->addWidget(LblNote);
    LblAspi = new QLabel(QStringLiteral("<a href=\"#\">ASPI drivers</a>"), recorder);
    LblAspi->setObjectName(QStringLiteral("LblAspi"));
    LblAspi->setToolTip(QStringLiteral("Click here to download"));
    LblAspi->setCursor(Qt::PointingHandCursor);
    LblAspi->hide();
    rv->addWidget(LblAspi);
    rv->addStretch(1);
    Pages->addWidget(recorder);

    auto *rip = new QWidget;
    auto *ripv = new QVBoxLayout(rip);
    auto *ripLabel = wrapped(QStringLiteral("&Output folder to keep files copied from audio CDs"), rip);
    ripv->addWidget(ripLabel);
    auto *ripRow = new QHBoxLayout;
    DirRipOutput = new QLineEdit(options.DirRipOutput->text(), rip);
    DirRipOutput->setObjectName(QStringLiteral("DirRipOutput"));
    ripLabel->setBuddy(DirRipOutput);
    auto *ripBrowse = browseButton(rip);
    ripRow->addWidget(DirRipOutput, 1);
    ripRow->addWidget(ripBrowse);
    ripv->addLayout(ripRow);
    ripv->addStretch(1);
    Pages->addWidget(rip);
    connect(ripBrowse, &QToolButton::clicked, this, [this] {
        const QString folder = QFileDialog::getExistingDirectory(this, QString(), DirRipOutput->text());
        if (!folder.isEmpty())
            DirRipOutput->setText(QDir::toNativeSeparators(folder));
    });

    auto toolPage = [this](const QString &text, const QString &caption, const QString &hint,
                           QLineEdit *&field, const char *name, const QString &initial,
                           const QString &filter) {
        auto *page = new QWidget;
        auto *v = new QVBoxLayout(page);
        v->addWidget(wrapped(text, page));
        // Drawn as a link with its download hint; the options dialog's label opens the pages.
        auto *link = new QLabel(QStringLiteral("<a href=\"#\">%1</a>")
                                    .arg(QString(caption).remove(QLatin1Char('&')).toHtmlEscaped()),
                                page);
        link->setToolTip(hint);
        v->addWidget(link);
        auto *h = new QHBoxLayout;
        field = new QLineEdit(initial, page);
        field->setObjectName(QLatin1String(name));
        auto *browse = browseButton(page);
        h->addWidget(field, 1);
        h->addWidget(browse);
        v->addLayout(h);
        v->addStretch(1);
        QLineEdit *f = field;
        connect(browse, &QToolButton::clicked, this, [this, f, filter] {
            const QString file = QFileDialog::getOpenFileName(
                this, QStringLiteral("Open"), f->text().isEmpty() ? programStartFolder() : f->text(), filter);
            if (!file.isEmpty())
                f->setText(QDir::toNativeSeparators(file));
        });
        return page;
    };
    Pages->addWidget(
        toolPage(QStringLiteral("If you wish to (de) compress MP3 you must download\r\nand install best free "
                                "encoder - LAME."),
                 QStringLiteral("Lame.exe location"), QStringLiteral("Click to download LAME"), EditLame,
                 "EditLame", options.EditLame->text(),
                 qtFilters(programFilter("Lame program", "lame")).join(QStringLiteral(";;"))));
    Pages->addWidget(
        toolPage(QStringLiteral("To check and repair MP3 please download and install free MP3CHECK."),
                 QStringLiteral("&Mp3check.exe location"),
                 QStringLiteral("mp3check by Johannes Overmann - click to download"), EditMP3Check,
                 "EditMP3Check", options.EditMp3Check->text(),
                 qtFilters(programFilter("Mp3check program", "mp3check")).join(QStringLiteral(";;"))));
    Pages->addWidget(textPage({QStringLiteral("Congratulations!"),
                               QStringLiteral("You have finished basic configuration."),
                               QStringLiteral("For more options choose from menu Tools - Options.")},
                              true));

    auto *buttons = new QHBoxLayout;
    BtnBack = new QPushButton(QStringLiteral("<< &Back"), this);
    BtnNext = new QPushButton(QStringLiteral("&Next >>"), this);
    BtnFinish = new QPushButton(QStringLiteral("&Finish"), this);
    BtnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    buttons->addStretch(1);
    for (QPushButton *b : {BtnBack, BtnNext, BtnFinish, BtnCancel}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    outer->addLayout(buttons);

    connect(BtnNext, &QPushButton::clicked, this, &TWizOptions::BtnNextClick);
    connect(BtnBack, &QPushButton::clicked, this, &TWizOptions::BtnBackClick);
    connect(BtnFinish, &QPushButton::clicked, this, &TWizOptions::BtnFinishClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(BtnDriveProp, &QToolButton::clicked, this, [this] { m_options.ShowDriveProperties(ComboCDs); });
    connect(LblAspi, &QLabel::linkActivated, this, [this] {
        const auto &open = m_options.mainWindowHooks().openInNewBrowser;
        for (const QString &address : {QStringLiteral("https://www.adaptec.com/"),
                                       QStringLiteral("https://duckduckgo.com/?q=ForceASPI")})
            if (open)
                open(address);
    });

    showPage(0);
    BtnBack->setEnabled(false);
    BtnFinish->setEnabled(false);
    resize(560, 340);
}

TWizOptions::~TWizOptions() = default;

QWidget *TWizOptions::textPage(const QStringList &lines, bool boldFirst)
{
    auto *page = new QWidget;
    auto *v = new QVBoxLayout(page);
    for (int i = 0; i < lines.size(); ++i) {
        QLabel *label = wrapped(lines[i], page);
        if (i == 0 && boldFirst) {
            QFont f = label->font();
            f.setBold(true);
            f.setPointSize(f.pointSize() + 4);
            label->setFont(f);
        }
        v->addWidget(label);
    }
    v->addStretch(1);
    return page;
}

int TWizOptions::currentPage() const
{
    return Pages->currentIndex();
}

void TWizOptions::showPage(int page)
{
    Pages->setCurrentIndex(page);
}

bool TWizOptions::leavePage(int page)
{
    Prompter *prompter = m_options.prompter();
    switch (page) {
    case 0:
        if (ComboCDs->count() == 0) {
#ifdef Q_OS_WIN
            LblAspi->show();
#endif
            LblNote->setText(noDriveNote());
        }
        return true;
    case 1: {
        const int row = ComboCDs->currentIndex();
        const RecorderListModel &list = m_options.recorders();
        if (row >= 0 && !list.canRecord(row)) {
            const PromptButton answer =
                prompter ? prompter->ask({QStringLiteral("Are you sure that drive ") + list.item(row)->text +
                                              QStringLiteral(" supports recording?"),
                                          QStringLiteral("Warning"), PromptIcon::Question,
                                          pbYes | pbNo | pbCancel, pbNo})
                         : pbNo;
            if (answer != pbYes) {
                ComboCDs->setCurrentIndex(-1);
                return false;
            }
        }
        if (const auto &autorun = m_options.mainWindowHooks().disableCdAutorun)
            autorun(ComboCDs->currentIndex(), false);
        return true;
    }
    case 2: {
        const QString folder = DirRipOutput->text().trimmed();
        if (!folder.isEmpty())
            QDir().mkpath(folder);
        if (!QFileInfo(folder).isDir() && prompter)
            prompter->error(QStringLiteral("I can't create folder ") + folder,
                            QStringLiteral("Error creating folder"));
        return true;
    }
    case 3:
        if (!QFileInfo(EditLame->text().trimmed()).isFile() && prompter)
            prompter->error(QStringLiteral("Lame.exe not found."),
                            QStringLiteral("Optional external program"));
        return true;
    case 4:
        if (!QFileInfo(EditMP3Check->text().trimmed()).isFile() && prompter)
            prompter->error(QStringLiteral("Mp3Check.exe.exe not found."),
                            QStringLiteral("Optional external program"));
        return true;
    default:
        return true;
    }
}

void TWizOptions::BtnNextClick()
{
    const int page = currentPage();
    if (!leavePage(page))
        return;
    if (page < kPageCount - 1)
        showPage(page + 1);
    const bool last = currentPage() == kPageCount - 1;
    BtnNext->setEnabled(!last);
    BtnFinish->setEnabled(last);
    BtnFinish->setDefault(last);
    BtnBack->setEnabled(true);
}

void TWizOptions::BtnBackClick()
{
    if (currentPage() > 0)
        showPage(currentPage() - 1);
    BtnBack->setEnabled(currentPage() > 0);
    BtnFinish->setEnabled(false);
    BtnFinish->setDefault(false);
    BtnNext->setEnabled(true);
}

void TWizOptions::BtnFinishClick()
{
    m_options.ComboCDs->setCurrentIndex(ComboCDs->currentIndex());
    m_options.ComboCDsChange(); // hidden: it only sets the burnproof box from the drive
    m_options.DirRipOutput->setText(DirRipOutput->text());
    m_options.EditLame->setText(EditLame->text());
    m_options.EditMp3Check->setText(EditMP3Check->text());
    m_options.saveSection();
    accept();
}

int TWizOptions::run()
{
    return m_execHook ? m_execHook(*this) : exec();
}

} // namespace quillon
