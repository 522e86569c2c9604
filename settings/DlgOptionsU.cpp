#include "settings/DlgOptionsU.h"

#include "discaccess/CDDrives.h"
#include "platform/CharacterSet.h"
#include "platform/DebugLog.h"
#include "platform/Prompter.h"
#include "settings/DrivePropertiesU.h"
#include "settings/IniStore.h"
#include "settings/OptionsLists.h"
#include "settings/PictureLoader.h"
#include "settings/RecorderList.h"
#include "settings/TOptionsU.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMovie>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillon {

namespace {

const QString kSearch = QStringLiteral("https://duckduckgo.com/?q=");
const QString kStandardPictureName = QStringLiteral("gray.jpg");

template <typename W> W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QCheckBox *check(QWidget *parent, const char *name, const QString &caption)
{
    return named(new QCheckBox(caption, parent), name);
}

QLineEdit *edit(QWidget *parent, const char *name, int maxLength = 0)
{
    auto *e = named(new QLineEdit(parent), name);
    if (maxLength > 0)
        e->setMaxLength(maxLength);
    return e;
}

QComboBox *list(QWidget *parent, const char *name, const QStringList &entries)
{
    auto *c = named(new QComboBox(parent), name);
    c->addItems(entries);
    c->setCurrentIndex(-1);
    return c;
}

QSpinBox *spin(QWidget *parent, const char *name, int minimum, int maximum, int step = 1)
{
    auto *s = named(new QSpinBox(parent), name);
    s->setRange(minimum, maximum);
    s->setSingleStep(step);
    return s;
}

// Colour values are stored 0x00BBGGRR.
QColor fromColourValue(int value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}
int toColourValue(const QColor &c)
{
    return c.red() | (c.green() << 8) | (c.blue() << 16);
}

QImage standardBackground()
{
    // The designed light grey of the window, faintly shaded so a bar still reads as a bar.
    QImage image(64, 64, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, 0, 64);
    g.setColorAt(0, QColor(0xE0, 0xE0, 0xE0));
    g.setColorAt(1, QColor(0xC8, 0xC8, 0xC8));
    p.fillRect(image.rect(), g);
    return image;
}

QString linkHtml(const QString &caption)
{
    return QStringLiteral("<a href=\"#\">%1</a>").arg(caption.toHtmlEscaped());
}

QWidget *fieldRow(QWidget *parent, QLineEdit *field, QToolButton *button)
{
    auto *row = new QWidget(parent);
    auto *h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(field, 1);
    if (button)
        h->addWidget(button);
    return row;
}

} // namespace

TDlgOptions::TDlgOptions(QWidget *parent)
    : QDialog(parent)
    , m_model(std::make_unique<OptionsModel>())
    , m_recorders(new RecorderListModel(this))
    , m_detect([] { return DetectSystemCharacterSet(); })
    , m_imageBgStd(standardBackground())
{
    setObjectName(QStringLiteral("DlgOptions"));
    setWindowTitle(QStringLiteral("Options"));
    m_model->setWindow(this);

    auto *layout = new QVBoxLayout(this);
    PageControl1 = named(new QTabWidget(this), "PageControl1");
    layout->addWidget(PageControl1, 1);
    struct Page {
        const char *name;
        const char *caption;
        void (TDlgOptions::*build)(QWidget *);
    };
    static constexpr Page kPages[] = {
        {"TabGeneral", "General", &TDlgOptions::buildGeneralPage},
        {"TabWriting", "CD writing", &TDlgOptions::buildWritingPage},
        {"TabDataCD", "Data CD", &TDlgOptions::buildDataPage},
        {"TabAudio", "Audio", &TDlgOptions::buildAudioPage},
        {"TabMp3", "MP3", &TDlgOptions::buildMp3Page},
        {"TabTools", "Tools", &TDlgOptions::buildToolsPage},
        {"TabCddb", "CDDB", &TDlgOptions::buildCddbPage},
    };
    for (const Page &p : kPages) {
        auto *page = named(new QWidget, p.name);
        (this->*p.build)(page);
        PageControl1->addTab(page, QLatin1String(p.caption));
    }
    auto *buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    buttons->button(QDialogButtonBox::Help)->setText(QStringLiteral("&Help"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [] { qCInfo(lcQuillon) << "help topic 1300 asked for; there is no help file"; });
    layout->addWidget(buttons);

    m_imageBg = m_imageBgStd;
    bindControls();
    connectHandlers();
    showModel();
    ComboCompressionChange();
    ComboCharacterSetChange();
    ChkDelRipWav->setEnabled(ChkRip2Mp3->isChecked());
    updatePreview();
    resize(620, 520);
}

TDlgOptions::~TDlgOptions() = default;

// ---- pages -----------------------------------------------------------------------------

QLabel *TDlgOptions::linkLabel(const char *name, const QString &caption, const QString &hint, bool withMenu)
{
    // A rich-text label shows no mnemonic, so the caption's "&" would show as it is.
    const QString shownCaption = QString(caption).remove(QLatin1Char('&'));
    auto *label = named(new QLabel(linkHtml(shownCaption), this), name);
    m_linkCaptions.insert(label, shownCaption);
    label->setToolTip(hint);
    label->setCursor(Qt::PointingHandCursor);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    connect(label, &QLabel::linkActivated, this, [this, label] { openLinks(label); });
    if (withMenu) {
        label->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(label, &QLabel::customContextMenuRequested, this, [this, label](const QPoint &at) {
            QMenu menu(label);
            QAction *copy = menu.addAction(QStringLiteral("&Copy address to clipboard"));
            if (menu.exec(label->mapToGlobal(at)) == copy && !linkAddresses(label).isEmpty())
                QGuiApplication::clipboard()->setText(linkAddresses(label).constFirst());
        });
    }
    return label;
}

void TDlgOptions::buildGeneralPage(QWidget *page)
{
    auto *v = new QVBoxLayout(page);
    ChkStoreDir = check(page, "ChkStoreDir", QStringLiteral("&Remember last directory on your hard disk"));
    v->addWidget(ChkStoreDir);
    auto *form = new QFormLayout;
    EditDefaultName = edit(page, "EditDefaultName", 16);
    EditDefaultName->setReadOnly(true);
    form->addRow(QStringLiteral("&Default disc name"), EditDefaultName);
    v->addLayout(form);
    ChkShowAds = check(page, "ChkShowAds", QStringLiteral("&Show advertisements"));
    ChkShowAds->hide(); // shown once the maker's server has delivered banners
    v->addWidget(ChkShowAds);

    auto *bg = new QGroupBox(page);
    auto *bgRow = new QHBoxLayout(bg);
    auto *bgLeft = new QVBoxLayout;
    ChkUseBg = check(bg, "ChkUseBg", QStringLiteral("Use &background image"));
    bgLeft->addWidget(ChkUseBg);
    LblFreeIcons = linkLabel("LblFreeIcons", QStringLiteral("Download free images"), QString(), false);
    m_links.insert(LblFreeIcons,
                   {QStringLiteral("https://opengameart.org/art-search-advanced?field_art_type_tid%5B%5D=14"),
                    QStringLiteral("https://commons.wikimedia.org/wiki/Category:Textures"),
                    kSearch + QStringLiteral("free+seamless+textures")});
    bgLeft->addWidget(LblFreeIcons);
    bgLeft->addStretch(1);
    bgRow->addLayout(bgLeft, 1);
    ImageBg = named(new QLabel(bg), "ImageBg");
    ImageBg->setFixedSize(120, 48);
    ImageBg->setFrameShape(QFrame::StyledPanel);
    ImageBg->setScaledContents(true);
    bgRow->addWidget(ImageBg);
    RxSpeedButton1 = named(new QToolButton(bg), "RxSpeedButton1");
    RxSpeedButton1->setText(QStringLiteral("..."));
    RxSpeedButton1->setToolTip(QStringLiteral("Choose a picture"));
    bgRow->addWidget(RxSpeedButton1);
    EditBg = edit(bg, "EditBg");
    EditBg->hide();
    v->addWidget(bg);

    auto *fonts = new QGroupBox(page);
    auto *grid = new QGridLayout(fonts);
    ChkUseFonts = check(fonts, "ChkUseFonts", QStringLiteral("&Use font:"));
    grid->addWidget(ChkUseFonts, 0, 0, 1, 4);
    FontAll = named(new QFontComboBox(fonts), "FontAll");
    auto *lblFont = new QLabel(QStringLiteral("&Font"), fonts);
    lblFont->setBuddy(FontAll);
    grid->addWidget(lblFont, 1, 0);
    grid->addWidget(FontAll, 1, 1, 1, 3);
    ColorFontAll = named(new QToolButton(fonts), "ColorFontAll");
    ColorFontAll->setFixedWidth(48);
    auto *lblColour = new QLabel(QStringLiteral("Font &color"), fonts);
    lblColour->setBuddy(ColorFontAll);
    grid->addWidget(lblColour, 2, 0);
    grid->addWidget(ColorFontAll, 2, 1);
    auto *lblStyle = new QLabel(QStringLiteral("Style"), fonts);
    BtnFontAllBold = named(new QToolButton(fonts), "BtnFontAllBold");
    BtnFontAllBold->setText(QStringLiteral("B"));
    BtnFontAllBold->setToolTip(QStringLiteral("Bold"));
    BtnFontAllBold->setCheckable(true);
    BtnFontAllItalic = named(new QToolButton(fonts), "BtnFontAllItalic");
    BtnFontAllItalic->setText(QStringLiteral("I"));
    BtnFontAllItalic->setToolTip(QStringLiteral("Italic"));
    BtnFontAllItalic->setCheckable(true);
    auto *styleRow = new QHBoxLayout;
    styleRow->addWidget(BtnFontAllBold);
    styleRow->addWidget(BtnFontAllItalic);
    styleRow->addStretch(1);
    grid->addWidget(lblStyle, 3, 0);
    grid->addLayout(styleRow, 3, 1);
    SpinFontAllSize = spin(fonts, "SpinFontAllSize", 5, 60);
    auto *lblSize = new QLabel(QStringLiteral("&Size"), fonts);
    lblSize->setBuddy(SpinFontAllSize);
    grid->addWidget(lblSize, 3, 2);
    grid->addWidget(SpinFontAllSize, 3, 3);
    grid->addWidget(new QLabel(QStringLiteral("Preview:"), fonts), 4, 0);
    MemoPreview = named(new QTextEdit(fonts), "MemoPreview");
    MemoPreview->setPlainText(QStringLiteral("AaBbCc"));
    MemoPreview->setReadOnly(true);
    MemoPreview->setFixedHeight(48);
    grid->addWidget(MemoPreview, 4, 1, 1, 3);
    v->addWidget(fonts);
    RxSpin2 = spin(page, "RxSpin2", 0, 1000000);
    RxSpin2->hide();
    v->addStretch(1);
}

void TDlgOptions::buildWritingPage(QWidget *page)
{
    auto *v = new QVBoxLayout(page);
    auto *recorderLabel = new QLabel(QStringLiteral("&Default recorder"), page);
    v->addWidget(recorderLabel);
    auto *row = new QHBoxLayout;
    ComboCDs = named(new QComboBox(page), "ComboCDs");
    ComboCDs->setModel(m_recorders);
    recorderLabel->setBuddy(ComboCDs);
    row->addWidget(ComboCDs, 1);
    BtnDriveProp = named(new QToolButton(page), "BtnDriveProp");
    BtnDriveProp->setText(QStringLiteral("..."));
    BtnDriveProp->setToolTip(QStringLiteral("Properties"));
    row->addWidget(BtnDriveProp);
    v->addLayout(row);

    auto *bufferRow = new QHBoxLayout;
    SpinBuffer = spin(page, "SpinBuffer", 4, 32, 2);
    auto *lblBuffer = new QLabel(QStringLiteral("Data &buffer size"), page);
    lblBuffer->setBuddy(SpinBuffer);
    bufferRow->addWidget(lblBuffer);
    bufferRow->addWidget(SpinBuffer);
    bufferRow->addWidget(new QLabel(QStringLiteral("MB"), page));
    bufferRow->addStretch(1);
    v->addLayout(bufferRow);
    ChkEject = check(page, "ChkEject", QStringLiteral("&Eject CD when done"));
    ChkBurnproof = check(page, "ChkBurnproof", QStringLiteral("&Use burnproof"));
    ChkCalcSize =
        check(page, "ChkCalcSize", QStringLiteral("&Always calculate size before writing on the fly"));
    ChkCalcSize->setToolTip(QStringLiteral("Use ONLY if your recorder doesn't want to write on the fly"));
    ChkCdrecOptions =
        check(page, "ChkCdrecOptions", QStringLiteral("Use &CDRECORD.EXE additional command line options"));
    EditCdrecOptions = edit(page, "EditCdrecOptions");
    ChkForceErrors = check(page, "ChkForceErrors", QStringLiteral("&Try to continue on some errors"));
    ChkForceErrors->hide();
    ChkCdrDaoOptions = check(
        page, "ChkCdrDaoOptions",
        QStringLiteral("Use CD&RDAO.EXE additional command line options (ONLY for writing CUE sheets)"));
    EditCdrDaoOptions = edit(page, "EditCdrDaoOptions");
    ChkCdrDaoOptions->hide();
    EditCdrDaoOptions->hide();
    for (QWidget *w : std::initializer_list<QWidget *>{ChkEject, ChkBurnproof, ChkCalcSize, ChkCdrecOptions,
                                                       EditCdrecOptions, ChkForceErrors, ChkCdrDaoOptions,
                                                       EditCdrDaoOptions})
        v->addWidget(w);
    Button2 = named(new QPushButton(QStringLiteral("Autoru&n..."), page), "Button2");
    auto *autorunRow = new QHBoxLayout;
    autorunRow->addWidget(Button2);
    autorunRow->addStretch(1);
    v->addLayout(autorunRow);
    v->addStretch(1);
}

void TDlgOptions::buildDataPage(QWidget *page)
{
    auto *v = new QVBoxLayout(page);
    auto *form = new QFormLayout;
    EditTmpFile = edit(page, "EditTmpFile");
    m_fileFilters.insert(EditTmpFile, QStringLiteral("ISO images (*.iso)|*.iso|All files (*.*)|*.*"));
    auto *tmpButton = new QToolButton(page);
    tmpButton->setText(QStringLiteral("..."));
    connect(tmpButton, &QToolButton::clicked, this, [this] { chooseFile(EditTmpFile); });
    form->addRow(QStringLiteral("&Temporary ISO image file:"), fieldRow(page, EditTmpFile, tmpButton));
    auto *charRow = new QHBoxLayout;
    ComboCharacterSet = list(page, "ComboCharacterSet", characterSetEntries());
    BtnDetectCharacterSet = named(new QPushButton(QStringLiteral("Detect"), page), "BtnDetectCharacterSet");
    charRow->addWidget(ComboCharacterSet, 1);
    charRow->addWidget(BtnDetectCharacterSet);
    auto *lblCharset = new QLabel(QStringLiteral("&Character set"), page);
    lblCharset->setBuddy(ComboCharacterSet);
    form->addRow(lblCharset, charRow);
    EditCharacterSet = edit(page, "EditCharacterSet");
    m_fileFilters.insert(EditCharacterSet, QStringLiteral("Text files (*.txt)|*.txt|All files (*.*)|*.*"));
    auto *charButton = new QToolButton(page);
    charButton->setText(QStringLiteral("..."));
    connect(charButton, &QToolButton::clicked, this, [this] { chooseFile(EditCharacterSet); });
    connect(EditCharacterSet, &QLineEdit::textChanged, charButton,
            [this, charButton] { charButton->setEnabled(EditCharacterSet->isEnabled()); });
    LblCharacterset = linkLabel("LblCharacterset", QStringLiteral("Characters &file"),
                                QStringLiteral("Click to download code tables"), false);
    m_links.insert(LblCharacterset, {QStringLiteral("https://www.unicode.org/Public/MAPPINGS/")});
    form->addRow(LblCharacterset, fieldRow(page, EditCharacterSet, charButton));
    m_companions[EditCharacterSet] << charButton;
    v->addLayout(form);

    ChkJoliet = check(page, "ChkJoliet", QStringLiteral("Use &JOLIET extensions"));
    ChkIso31 = check(page, "ChkIso31",
                     QStringLiteral("Use &ISO 31 character  filenames (disks will be unreadable under DOS)"));
    ChkDeep = check(
        page, "ChkDeep",
        QStringLiteral("&Allow directories deeper than 8 levels (more than 11 levels are NOT RECOMMENDED)"));
    ChkPad = check(page, "ChkPad", QStringLiteral("&Pad the end of the ISO9660 by 16 sectors (32kB)"));
    for (QWidget *w : std::initializer_list<QWidget *>{ChkJoliet, ChkIso31, ChkDeep, ChkPad})
        v->addWidget(w);
    auto *ids = new QGridLayout;
    ChkPublisherID = check(page, "ChkPublisherID", QStringLiteral("P&ublisher"));
    EditPublisherID = edit(page, "EditPublisherID", 128);
    ChkAppID = check(page, "ChkAppID", QStringLiteral("Applicatio&n"));
    EditAppID = edit(page, "EditAppID", 128);
    ChkPreparerID = check(page, "ChkPreparerID", QStringLiteral("Pr&eparer"));
    EditPreparerID = edit(page, "EditPreparerID", 128);
    ids->addWidget(ChkPublisherID, 0, 0);
    ids->addWidget(EditPublisherID, 0, 1);
    ids->addWidget(ChkAppID, 1, 0);
    ids->addWidget(EditAppID, 1, 1);
    ids->addWidget(ChkPreparerID, 2, 0);
    ids->addWidget(EditPreparerID, 2, 1);
    v->addLayout(ids);
    ChkIsoOptions =
        check(page, "ChkIsoOptions", QStringLiteral("Use &MKISOFS.EXE additional command line options"));
    EditIsoOptions = edit(page, "EditIsoOptions");
    v->addWidget(ChkIsoOptions);
    v->addWidget(EditIsoOptions);
    CheckBox4 = check(page, "CheckBox4", QStringLiteral("Make bootable disc"));
    CheckBox4->hide();
    v->addStretch(1);
}

void TDlgOptions::buildAudioPage(QWidget *page)
{
    auto *v = new QVBoxLayout(page);
    auto *recording = new QGroupBox(QStringLiteral("Recording"), page);
    auto *rv = new QVBoxLayout(recording);
    ChkCdText = check(recording, "ChkCdText", QStringLiteral("&Write CD-Text"));
    ChkUpcaseCDText = check(recording, "ChkUpcaseCDText", QStringLiteral("&Convert CD text to upper case"));
    rv->addWidget(ChkCdText);
    rv->addWidget(ChkUpcaseCDText);
    v->addWidget(recording);

    auto *ripping = new QGroupBox(QStringLiteral("Ripping"), page);
    auto *g = new QGridLayout(ripping);
    DirRipOutput = edit(ripping, "DirRipOutput");
    auto *ripButton = new QToolButton(ripping);
    ripButton->setText(QStringLiteral("..."));
    connect(ripButton, &QToolButton::clicked, this, [this] { chooseFolder(DirRipOutput); });
    auto *lblRip = new QLabel(QStringLiteral("&Output folder"), ripping);
    lblRip->setBuddy(DirRipOutput);
    g->addWidget(lblRip, 0, 0);
    g->addWidget(fieldRow(ripping, DirRipOutput, ripButton), 0, 1);
    ChkRipNorm = check(ripping, "ChkRipNorm", QStringLiteral("&Normalize using mode"));
    ComboRipNorm = list(ripping, "ComboRipNorm", ripNormEntries());
    g->addWidget(ChkRipNorm, 1, 0);
    g->addWidget(ComboRipNorm, 1, 1);
    ChkRip2Mp3 = check(ripping, "ChkRip2Mp3", QStringLiteral("Compress to &MP3"));
    ChkDelRipWav = check(ripping, "ChkDelRipWav", QStringLiteral("&Delete WAV files after compression"));
    g->addWidget(ChkRip2Mp3, 2, 0);
    g->addWidget(ChkDelRipWav, 2, 1);
    ChkAskCDDB = check(ripping, "ChkAskCDDB", QStringLiteral("&Automatically save disc info to CDDB.ini"));
    ChkAskCDDB->setToolTip(QStringLiteral("Otherwise Quillon asks you to do it"));
    g->addWidget(ChkAskCDDB, 3, 0, 1, 2);
    v->addWidget(ripping);
    v->addStretch(1);
}

void TDlgOptions::buildMp3Page(QWidget *page)
{
    auto *v = new QVBoxLayout(page);
    auto *lameRow = new QHBoxLayout;
    LblLame = linkLabel("LblLame", QStringLiteral("Lame.exe location"),
                        QStringLiteral("Click to download LAME"), true);
    m_links.insert(LblLame, {QStringLiteral("https://lame.sourceforge.io/"),
                             QStringLiteral("https://sourceforge.net/projects/lame/files/lame/"),
                             kSearch + QStringLiteral("lame+mp3+encoder+download")});
    EditLame = edit(page, "EditLame");
    m_fileFilters.insert(EditLame, programFilter("Lame program", "lame"));
    auto *lameButton = new QToolButton(page);
    lameButton->setText(QStringLiteral("..."));
    connect(lameButton, &QToolButton::clicked, this, [this] { chooseFile(EditLame); });
    lameRow->addWidget(LblLame);
    lameRow->addWidget(fieldRow(page, EditLame, lameButton), 1);
    v->addLayout(lameRow);

    auto *g = new QGridLayout;
    auto label = [page](const QString &caption, QWidget *buddy) {
        auto *l = new QLabel(caption, page);
        l->setBuddy(buddy);
        return l;
    };
    ComboCompression = list(page, "ComboCompression", compressionEntries());
    g->addWidget(label(QStringLiteral("&Compression"), ComboCompression), 0, 0);
    g->addWidget(ComboCompression, 0, 1, 1, 3);
    ComboQuality = list(page, "ComboQuality", qualityEntries());
    auto *lblQuality = label(QStringLiteral("&Quality"), ComboQuality);
    g->addWidget(lblQuality, 1, 0);
    g->addWidget(ComboQuality, 1, 1, 1, 3);
    m_companions[ComboQuality] << lblQuality;
    ComboBitrateMin = list(page, "ComboBitrateMin", bitrateRangeEntries());
    ComboBitrateMax = list(page, "ComboBitrateMax", bitrateRangeEntries());
    auto *lblMin = label(QStringLiteral("&Min bitrate"), ComboBitrateMin);
    auto *lblMax = label(QStringLiteral("M&ax bitrate"), ComboBitrateMax);
    auto *kbpsMin = new QLabel(QStringLiteral("kbps"), page);
    auto *kbpsMax = new QLabel(QStringLiteral("kbps"), page);
    g->addWidget(lblMin, 2, 0);
    g->addWidget(ComboBitrateMin, 2, 1);
    g->addWidget(kbpsMin, 2, 2);
    g->addWidget(lblMax, 3, 0);
    g->addWidget(ComboBitrateMax, 3, 1);
    g->addWidget(kbpsMax, 3, 2);
    m_companions[ComboBitrateMin] << lblMin << kbpsMin;
    m_companions[ComboBitrateMax] << lblMax << kbpsMax;
    ComboBitrate = list(page, "ComboBitrate", bitrateEntries());
    auto *kbps = new QLabel(QStringLiteral("kbps"), page);
    auto *lblBitrate = new QLabel(QStringLiteral("Bitrate"), page);
    g->addWidget(lblBitrate, 4, 0);
    g->addWidget(ComboBitrate, 4, 1);
    g->addWidget(kbps, 4, 2);
    m_companions[ComboBitrate] << kbps << lblBitrate;
    EditBitrate = spin(page, "EditBitrate", 8, 320);
    auto *kbpsEdit = new QLabel(QStringLiteral("kbps"), page);
    auto *lblEditBitrate = new QLabel(QStringLiteral("Bitrate"), page);
    g->addWidget(lblEditBitrate, 5, 0);
    g->addWidget(EditBitrate, 5, 1);
    g->addWidget(kbpsEdit, 5, 2);
    m_companions[EditBitrate] << kbpsEdit << lblEditBitrate;
    EditUserLame = edit(page, "EditUserLame");
    auto *lblUser = label(QStringLiteral("&Options"), EditUserLame);
    g->addWidget(lblUser, 6, 0);
    g->addWidget(EditUserLame, 6, 1, 1, 3);
    m_companions[EditUserLame] << lblUser;
    ChkFast = check(page, "ChkFast", QStringLiteral("&Faster but lower quality"));
    g->addWidget(ChkFast, 7, 1, 1, 3);
    ComboFreq = list(page, "ComboFreq", frequencyEntries());
    auto *lblFreq = label(QStringLiteral("&Output frequency"), ComboFreq);
    auto *khz = new QLabel(QStringLiteral("kHz"), page);
    g->addWidget(lblFreq, 8, 0);
    g->addWidget(ComboFreq, 8, 1);
    g->addWidget(khz, 8, 2);
    m_companions[ComboFreq] << lblFreq << khz;
    ComboStereo = list(page, "ComboStereo", stereoEntries());
    auto *lblStereo = label(QStringLiteral("S&tereo / mono"), ComboStereo);
    g->addWidget(lblStereo, 9, 0);
    g->addWidget(ComboStereo, 9, 1);
    m_companions[ComboStereo] << lblStereo;
    g->setColumnStretch(1, 1);
    v->addLayout(g);
    ChkLameOptions =
        check(page, "ChkLameOptions", QStringLiteral("Use &LAME.EXE additional command line options"));
    EditLameOptions = edit(page, "EditLameOptions");
    m_companions[ChkLameOptions] << EditLameOptions;
    v->addWidget(ChkLameOptions);
    v->addWidget(EditLameOptions);

    auto *output = new QGroupBox(QStringLiteral("Output folder"), page);
    auto *og = new QGridLayout(output);
    RadioTheSame = named(new QRadioButton(QStringLiteral("the &same as input file"), output), "RadioTheSame");
    RadioOutput = named(new QRadioButton(QStringLiteral("&use"), output), "RadioOutput");
    DirOutput = edit(output, "DirOutput");
    auto *outButton = new QToolButton(output);
    outButton->setText(QStringLiteral("..."));
    connect(outButton, &QToolButton::clicked, this, [this] { chooseFolder(DirOutput); });
    og->addWidget(RadioTheSame, 0, 0, 1, 2);
    og->addWidget(RadioOutput, 1, 0);
    og->addWidget(fieldRow(output, DirOutput, outButton), 1, 1);
    v->addWidget(output);
    auto *tags = new QGridLayout;
    ChkMp3Comment = check(page, "ChkMp3Comment", QStringLiteral("&Write comment"));
    ChkMp3Comment->setEnabled(false);
    EditMp3Comment = edit(page, "EditMp3Comment");
    EditMp3Comment->setReadOnly(true);
    ChkWriteAuthor = check(page, "ChkWriteAuthor", QStringLiteral("Write &author and title tag"));
    tags->addWidget(ChkMp3Comment, 0, 0);
    tags->addWidget(EditMp3Comment, 0, 1);
    tags->addWidget(ChkWriteAuthor, 1, 0, 1, 2);
    v->addLayout(tags);
    v->addStretch(1);
}

void TDlgOptions::buildToolsPage(QWidget *page)
{
    auto *v = new QVBoxLayout(page);
    auto tool = [this, page](const char *caption, const char *groupName, QLineEdit *&field, const char *name,
                             QLabel *&link, const char *linkName, const QString &hint, const QString &filter,
                             const QStringList &addresses) {
        auto *group = new QGroupBox(QLatin1String(groupName), page);
        auto *v = new QVBoxLayout(group);
        auto *h = new QHBoxLayout;
        v->addLayout(h);
        link = linkLabel(linkName, QLatin1String(caption), hint, true);
        m_links.insert(link, addresses);
        field = edit(group, name);
        m_fileFilters.insert(field, filter);
        auto *button = new QToolButton(group);
        button->setText(QStringLiteral("..."));
        QLineEdit *f = field;
        connect(button, &QToolButton::clicked, this, [this, f] { chooseFile(f); });
        h->addWidget(link);
        h->addWidget(fieldRow(group, field, button), 1);
        return group;
    };
    auto *checking =
        tool("&Mp3check.exe location", "MP3 checking and repairing", EditMp3Check, "EditMp3Check",
             LblMp3Check, "LblMp3Check", QStringLiteral("mp3check by Johannes Overmann - click to download"),
             programFilter("Mp3check program", "mp3check"),
             {QStringLiteral("https://sourceforge.net/projects/mp3check/"),
              kSearch + QStringLiteral("mp3check+Johannes+Overmann")});
    ChkFixCRC = check(checking, "ChkFixCRC", QStringLiteral("&Check and repair CRC"));
    ChrRemoveOK = check(checking, "ChrRemoveOK",
                        QStringLiteral("&Remove correct MP3s from the list after repair / checking"));
    checking->layout()->addWidget(ChkFixCRC);
    checking->layout()->addWidget(ChrRemoveOK);
    v->addWidget(checking);
    v->addWidget(tool("&Audacity.exe location", "WAV editor", EditAudacity, "EditAudacity", LblAudacity,
                      "LblAudacity", QStringLiteral("Click to download free Audacity Audio Editor"),
                      programFilter("Audacity program", "audacity"),
                      {QStringLiteral("https://www.audacityteam.org/download/"),
                       kSearch + QStringLiteral("audacity+audio+editor")}));
    QWidget *normalize = tool("Normalize location", "WAV normalization", EditNormalize, "EditNormalize",
                              LblNormalize, "LblNormalize", QStringLiteral("Click to download normalize"),
                              programFilter("Normalize program", "normalize"),
                              {QStringLiteral("https://www.nongnu.org/normalize/"),
                               kSearch + QStringLiteral("normalize+wav+volume")});
    normalize->hide();
    v->addWidget(normalize);
    v->addStretch(1);
}

void TDlgOptions::buildCddbPage(QWidget *page)
{
    auto *v = new QVBoxLayout(page);
    auto *proxy = new QGroupBox(QStringLiteral("Proxy server"), page);
    auto *pf = new QFormLayout(proxy);
    CheckUseProxy = check(proxy, "CheckUseProxy", QStringLiteral("Use pro&xy server"));
    pf->addRow(CheckUseProxy);
    EditProxy = edit(proxy, "EditProxy");
    pf->addRow(QStringLiteral("S&erver"), EditProxy);
    EditProxyPort = spin(proxy, "EditProxyPort", 0, 10000000);
    pf->addRow(QStringLiteral("P&ort"), EditProxyPort);
    EditProxyUser = edit(proxy, "EditProxyUser");
    pf->addRow(QStringLiteral("&User"), EditProxyUser);
    EditProxyPassword = edit(proxy, "EditProxyPassword");
    EditProxyPassword->setEchoMode(QLineEdit::Password);
    pf->addRow(QStringLiteral("Pass&word"), EditProxyPassword);
    v->addWidget(proxy);
    auto *cddb = new QGroupBox(QStringLiteral("CDDB server"), page);
    auto *cf = new QFormLayout(cddb);
    EditCddbServer = edit(cddb, "EditCddbServer");
    cf->addRow(QStringLiteral("S&erver"), EditCddbServer);
    EditCddbPath = edit(cddb, "EditCddbPath");
    cf->addRow(QStringLiteral("Path"), EditCddbPath);
    EditCddbPort = spin(cddb, "EditCddbPort", 0, 10000000);
    cf->addRow(QStringLiteral("P&ort"), EditCddbPort);
    ChkUseLocalCddb = check(cddb, "ChkUseLocalCddb", QStringLiteral("Use CDDB stored on disk"));
    EditLocalCddb = edit(cddb, "EditLocalCddb");
    ChkUseLocalCddb->hide();
    EditLocalCddb->hide();
    v->addWidget(cddb);
    v->addStretch(1);
}

// ---- the controls and the model ----------------------------------------------------------

void TDlgOptions::bindControls()
{
    // Every control named like an option writes into the model as it changes, so the model
    // always holds what the controls show, whoever changed them.
    for (const OptionsModel::Info &info : OptionsModel::table()) {
        const QString name = info.control;
        if (name == QLatin1String("ComboCDs"))
            continue; // by position and identity, below
        QWidget *w = findChild<QWidget *>(name);
        if (!w)
            continue;
        if (auto *font = qobject_cast<QFontComboBox *>(w)) {
            connect(font, &QFontComboBox::currentFontChanged, this,
                    [this, name](const QFont &f) { m_model->setValue(name, f.family()); });
        } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
            connect(combo, &QComboBox::currentIndexChanged, this,
                    [this, name](int index) { m_model->setValue(name, index); });
        } else if (auto *button = qobject_cast<QAbstractButton *>(w); button && button->isCheckable()) {
            connect(button, &QAbstractButton::toggled, this,
                    [this, name](bool on) { m_model->setValue(name, on); });
        } else if (auto *line = qobject_cast<QLineEdit *>(w)) {
            connect(line, &QLineEdit::textChanged, this,
                    [this, name](const QString &text) { m_model->setValue(name, text); });
        } else if (auto *number = qobject_cast<QSpinBox *>(w)) {
            connect(number, &QSpinBox::valueChanged, this,
                    [this, name](int value) { m_model->setValue(name, double(value)); });
        }
    }
    connect(ComboCDs, &QComboBox::currentIndexChanged, this, [this](int index) {
        // An empty list (no drives yet) keeps the stored choice for when the drives are there;
        // the combo's own pick while the list is filled is no choice either.
        if (ComboCDs->count() == 0 || m_fillingList)
            return;
        m_model->setComboCDs(index);
        const RecorderItem *item = m_recorders->item(index);
        m_model->setComboCDsIdentity(item ? item->identity : RecorderIdentity());
    });
}

void TDlgOptions::showModel()
{
    for (const OptionsModel::Info &info : OptionsModel::table()) {
        if (info.control == QLatin1String("ComboCDs"))
            continue;
        QWidget *w = findChild<QWidget *>(info.control);
        if (!w)
            continue;
        const QSignalBlocker block(w);
        const QVariant v = m_model->value(info.control);
        if (auto *font = qobject_cast<QFontComboBox *>(w)) {
            // No stored name shows the font the program uses.
            font->setCurrentFont(v.toString().isEmpty() ? QApplication::font() : QFont(v.toString()));
        } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
            const int index = v.toInt();
            combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
        } else if (auto *button = qobject_cast<QAbstractButton *>(w); button && button->isCheckable()) {
            button->setChecked(v.toBool());
        } else if (auto *line = qobject_cast<QLineEdit *>(w)) {
            line->setText(v.toString());
        } else if (auto *number = qobject_cast<QSpinBox *>(w)) {
            number->setValue(int(std::lround(v.toDouble())));
        }
    }
    showColour();
    if (ComboCDs->count() > 0 && m_model->ComboCDs() < ComboCDs->count()) {
        const QSignalBlocker block(ComboCDs);
        ComboCDs->setCurrentIndex(m_model->ComboCDs());
    }
}

void TDlgOptions::connectHandlers()
{
    connect(ChkJoliet, &QCheckBox::clicked, this, [this](bool on) {
        if (m_showing && !on &&
            !confirm(QStringLiteral(
                         "Joliet is required to store long filenames. Otherwise all filenames wiil be "
                         "stored in short format (8 characters + extension).\r\nDo you wish to continue?"),
                     QStringLiteral("Long filenames will be lost")))
            ChkJoliet->setChecked(true);
    });
    connect(ChkPad, &QCheckBox::clicked, this, [this](bool on) {
        if (m_showing && !on &&
            !confirm(QStringLiteral("Deselecting this option may cause read errors on recorded CD.\r\n"
                                    "Do you wish to continue?"),
                     QStringLiteral("Possible CD read problems")))
            ChkPad->setChecked(true);
    });
    connect(ChkDeep, &QCheckBox::clicked, this, [this](bool on) {
        if (!m_showing || on || !m_hooks.deepestFolderLevel)
            return;
        const int level = m_hooks.deepestFolderLevel();
        if (level > 7 &&
            !confirm(
                QStringLiteral("Folders deeper than 8 levels will NOT be added. Do you wish to continue?"),
                QStringLiteral("Folders nested ") + QString::number(level) + QStringLiteral(" levels")))
            ChkDeep->setChecked(true);
    });
    connect(ComboCharacterSet, &QComboBox::currentIndexChanged, this, [this] { ComboCharacterSetChange(); });
    connect(BtnDetectCharacterSet, &QPushButton::clicked, this, [this] { DetectCharacterSet(); });
    connect(EditCharacterSet, &QLineEdit::editingFinished, this, [this] { EditCharacterSetExit(); });
    connect(EditTmpFile, &QLineEdit::editingFinished, this, [this] { EditTmpFileExit(); });
    const std::pair<QLineEdit *, QCheckBox *> optionFields[] = {
        {EditIsoOptions, ChkIsoOptions},
        {EditCdrecOptions, ChkCdrecOptions},
        {EditCdrDaoOptions, ChkCdrDaoOptions},
        {EditLameOptions, ChkLameOptions},
    };
    for (const auto &[field, box] : optionFields) {
        QCheckBox *b = box;
        connect(field, &QLineEdit::textEdited, this, [this, b] {
            if (m_showing)
                b->setChecked(true);
        });
    }
    const std::pair<QLineEdit *, QCheckBox *> trimmedFields[] = {
        {EditIsoOptions, ChkIsoOptions},
        {EditCdrecOptions, ChkCdrecOptions},
        {EditCdrDaoOptions, ChkCdrDaoOptions},
        {EditLameOptions, ChkLameOptions},
        {EditAppID, ChkAppID},
        {EditPublisherID, ChkPublisherID},
        {EditPreparerID, ChkPreparerID},
    };
    for (const auto &[field, box] : trimmedFields) {
        QLineEdit *f = field;
        QCheckBox *b = box;
        connect(f, &QLineEdit::editingFinished, this, [this, f, b] { trimAndUncheck(f, b); });
    }
    connect(EditMp3Comment, &QLineEdit::textEdited, this, [this] {
        // Acts only after an edit: an empty comment stops the comment tag.
        if (EditMp3Comment->text().trimmed().isEmpty())
            ChkMp3Comment->setChecked(false);
    });
    connect(EditDefaultName, &QLineEdit::editingFinished, this, [this] {
        if (!EditDefaultName->isModified())
            return;
        const QString name = EditDefaultName->text().trimmed();
        EditDefaultName->setText(name.isEmpty() ? QStringLiteral("Quillon CD") : name);
    });
    connect(ComboCDs, &QComboBox::activated, this, [this] { ComboCDsChange(); });
    connect(ChkBurnproof, &QCheckBox::clicked, this, [this](bool on) {
        if (!m_showing || !on || m_recorders->count() == 0)
            return;
        const int row = ComboCDs->currentIndex();
        if (row >= 0 && m_recorders->burnproof(row))
            return;
        const QString text = row >= 0 ? m_recorders->item(row)->text : QString();
        if (!confirm(QStringLiteral("Are you sure that drive ") + text +
                         QStringLiteral(" supports burnproof?"),
                     QStringLiteral("Warning")))
            ChkBurnproof->setChecked(false);
    });
    connect(BtnDriveProp, &QToolButton::clicked, this, [this] { ShowDriveProperties(ComboCDs); });
    connect(Button2, &QPushButton::clicked, this, [this] {
        if (m_hooks.disableCdAutorun)
            m_hooks.disableCdAutorun(ComboCDs->currentIndex(), true);
        else
            qCInfo(lcQuillon) << "no autorun switch in this program";
    });
    connect(ComboCompression, &QComboBox::currentIndexChanged, this, [this] { ComboCompressionChange(); });
    connect(ChkRip2Mp3, &QCheckBox::toggled, this, [this](bool on) { ChkDelRipWav->setEnabled(on); });
    connect(EditProxy, &QLineEdit::editingFinished, this, [this] { EditProxyExit(); });
    connect(EditCddbServer, &QLineEdit::editingFinished, this, [this] { EditCddbServerExit(); });
    connect(ChkUseBg, &QCheckBox::clicked, this, [this] { ChkUseBgClick(); });
    connect(RxSpeedButton1, &QToolButton::clicked, this, [this] { RxSpeedButton1Click(); });
    connect(FontAll, &QFontComboBox::activated, this, [this] { fontControlChanged(); });
    connect(SpinFontAllSize, &QSpinBox::valueChanged, this, [this] { fontControlChanged(); });
    connect(BtnFontAllBold, &QToolButton::clicked, this, [this] { fontControlChanged(); });
    connect(BtnFontAllItalic, &QToolButton::clicked, this, [this] { fontControlChanged(); });
    connect(ColorFontAll, &QToolButton::clicked, this, [this] {
        const QColor chosen = QColorDialog::getColor(fromColourValue(m_model->ColorFontAll()), this,
                                                     QStringLiteral("Font color"));
        if (!chosen.isValid())
            return;
        m_model->setColorFontAll(toColourValue(chosen));
        showColour();
        fontControlChanged();
    });
}

bool TDlgOptions::confirm(const QString &text, const QString &caption)
{
    if (!m_prompter) {
        qCWarning(lcQuillon) << "no prompter to ask:" << caption << "- taken as No";
        return false;
    }
    return m_prompter->ask({text, caption, PromptIcon::Question, pbYes | pbNo | pbCancel, pbNo}) == pbYes;
}

void TDlgOptions::trimAndUncheck(QLineEdit *field, QCheckBox *box)
{
    const QString trimmed = field->text().trimmed();
    if (trimmed != field->text())
        field->setText(trimmed);
    if (trimmed.isEmpty())
        box->setChecked(false);
}

void TDlgOptions::setCompanionsVisible(QWidget *control, bool visible)
{
    control->setVisible(visible);
    for (QWidget *w : m_companions.value(control))
        w->setVisible(visible);
}

// ---- recorders ---------------------------------------------------------------------------

int TDlgOptions::FirstRecorder() const
{
    return m_recorders->FirstRecorder();
}

void TDlgOptions::setDrives(disc::TkseCDDrives *drives)
{
    m_drives = drives;
    m_listed = false;
    if (m_restored) {
        listRecorders();
        selectRecorder();
        ComboCDsChange();
    }
}

void TDlgOptions::listRecorders()
{
    if (m_listed)
        return;
    m_listed = true;
    m_fillingList = true;
    if (m_drives)
        m_recorders->build(*m_drives);
    else
        m_recorders->setItems({});
    m_fillingList = false;
}

// The stored drive when it is there, wherever the list now puts it; otherwise the first
// recorder, or the first drive when none can record.
void TDlgOptions::selectRecorder()
{
    if (m_recorders->count() == 0)
        return;
    int row = m_recorders->rowOf(m_model->ComboCDsIdentity());
    if (row < 0)
        row = m_recorders->FirstRecorder();
    if (row < 0)
        row = 0;
    ComboCDs->setCurrentIndex(row);
    // The model follows even when the index did not change.
    m_model->setComboCDs(row);
    m_model->setComboCDsIdentity(m_recorders->item(row)->identity);
}

void TDlgOptions::ComboCDsChange()
{
    const int row = ComboCDs->currentIndex();
    if (row < 0)
        return;
    ChkBurnproof->setChecked(m_recorders->burnproof(row));
    if (!m_showing || m_recorders->canRecord(row))
        return;
    const PromptButton answer =
        m_prompter ? m_prompter->ask(
                         {QStringLiteral("Are you sure that drive ") + m_recorders->item(row)->text +
                              QStringLiteral(" supports recording?"),
                          QStringLiteral("Warning"), PromptIcon::Question, pbYes | pbNo | pbCancel, pbNo})
                   : pbNo;
    if (answer == pbYes)
        return;
    if (answer == pbNo && m_recorders->FirstRecorder() != -1) {
        ComboCDs->setCurrentIndex(m_recorders->FirstRecorder());
        ChkBurnproof->setChecked(m_recorders->burnproof(m_recorders->FirstRecorder()));
    }
    selectPage(QStringLiteral("CD writing"));
}

QString TDlgOptions::RecorderAddress(int index) const
{
    const int row = index == -1 ? ComboCDs->currentIndex() : index;
    const RecorderItem *item = m_recorders->item(row);
    return item ? item->address : QStringLiteral("0,0,0");
}

void TDlgOptions::ShowDriveProperties(QComboBox *recorderList)
{
    if (!recorderList)
        return;
    auto *model = qobject_cast<RecorderListModel *>(recorderList->model());
    const int row = recorderList->currentIndex();
    const RecorderItem *item = model ? model->item(row) : nullptr;
    if (!item)
        return;
    disc::TCDCapabilities capabilities;
    QString revision;
    if (m_drives && row < m_drives->Count()) {
        disc::TkseCDDrive &drive = m_drives->Drive(row);
        capabilities = drive.GetCapabilities();
        revision = QString::fromStdString(drive.GetInquiry().Revision).trimmed();
    }
#ifdef Q_OS_WIN
    constexpr bool pageForCdText = true;
#else
    constexpr bool pageForCdText = false;
#endif
    TDlgDriveProperties dialog(this);
    dialog.fill(BuildDrivePropertiesReport(item->text, revision, item->page, capabilities, pageForCdText));
    if (m_subDialogHook)
        m_subDialogHook(dialog);
    else
        dialog.exec();
}

// ---- character sets ------------------------------------------------------------------------

bool TDlgOptions::characterSetFromFile() const
{
    return ComboCharacterSet->currentIndex() == kCharacterSetFromFile;
}

QString TDlgOptions::GetCharacterSet() const
{
    return characterSetValue(ComboCharacterSet->currentIndex(), EditCharacterSet->text());
}

void TDlgOptions::ComboCharacterSetChange()
{
    const bool fromFile = characterSetFromFile();
    EditCharacterSet->setEnabled(fromFile);
    setLinkEnabled(LblCharacterset, fromFile);
    for (QWidget *w : m_companions.value(EditCharacterSet))
        w->setEnabled(fromFile);
}

void TDlgOptions::DetectCharacterSet()
{
    const int position = characterSetPositionFor(m_detect ? m_detect() : QString());
    if (position >= 0)
        ComboCharacterSet->setCurrentIndex(position);
    ComboCharacterSetChange();
}

void TDlgOptions::EditCharacterSetExit()
{
    const QString name = EditCharacterSet->text().trimmed();
    if (name != EditCharacterSet->text())
        EditCharacterSet->setText(name);
    if (characterSetFromFile() && !QFileInfo(name).isFile()) {
        EditCharacterSet->setEnabled(false);
        setLinkEnabled(LblCharacterset, false);
        DetectCharacterSet();
    }
}

// ---- field checks ------------------------------------------------------------------------

bool TDlgOptions::EditTmpFileExit()
{
    const QString name = EditTmpFile->text().trimmed();
    if (name != EditTmpFile->text())
        EditTmpFile->setText(name);
    const ImageNameProblem problem = checkImageFileName(name);
    if (problem == ImageNameProblem::None)
        return true;
    if (m_prompter)
        m_prompter->error(imageNameProblemText(problem), imageNameProblemCaption(problem));
    selectPage(QStringLiteral("Data CD"));
    EditTmpFile->setFocus();
    return false;
}

void TDlgOptions::EditProxyExit()
{
    const ParsedAddress a = parseServerAddress(EditProxy->text());
    EditProxy->setText(a.field);
    if (!a.user.isEmpty())
        EditProxyUser->setText(a.user);
    if (!a.password.isEmpty())
        EditProxyPassword->setText(a.password);
    if (!a.port.isEmpty())
        EditProxyPort->setValue(a.port.toInt());
}

void TDlgOptions::EditCddbServerExit()
{
    const ParsedAddress a = parseServerAddress(EditCddbServer->text());
    EditCddbServer->setText(a.field);
    if (!a.path.isEmpty())
        EditCddbPath->setText(a.path);
    if (!a.port.isEmpty())
        EditCddbPort->setValue(a.port.toInt());
}

void TDlgOptions::ComboCompressionChange()
{
    const CompressionControls c = compressionControls(ComboCompression->currentIndex());
    setCompanionsVisible(ComboQuality, c.quality);
    setCompanionsVisible(ComboBitrate, c.bitrate);
    setCompanionsVisible(ComboBitrateMin, c.bitrateMinMax);
    setCompanionsVisible(ComboBitrateMax, c.bitrateMinMax);
    setCompanionsVisible(EditBitrate, c.editBitrate);
    setCompanionsVisible(EditUserLame, c.userLame);
    setCompanionsVisible(ChkFast, c.fast);
    setCompanionsVisible(ChkLameOptions, c.lameOptions);
    setCompanionsVisible(ComboFreq, c.frequency);
    setCompanionsVisible(ComboStereo, c.stereo);
}

void TDlgOptions::DirOutputChosen(const QString &folder)
{
    if (folder.isEmpty())
        return;
    DirOutput->setText(QDir::toNativeSeparators(folder));
    RadioOutput->setChecked(true);
}

void TDlgOptions::chooseFile(QLineEdit *field)
{
    QFileDialog dialog(this);
    dialog.setNameFilters(qtFilters(m_fileFilters.value(field)));
    if (field == EditTmpFile) {
        dialog.setWindowTitle(QStringLiteral("Save image as"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("iso"));
    } else if (field == EditCharacterSet) {
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setWindowTitle(QStringLiteral("Open"));
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setDirectory(programStartFolder());
    }
    if (!field->text().isEmpty())
        dialog.selectFile(field->text());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    field->setText(QDir::toNativeSeparators(dialog.selectedFiles().constFirst()));
    if (field == EditTmpFile)
        EditTmpFileExit();
    else if (field == EditCharacterSet)
        EditCharacterSetExit();
}

void TDlgOptions::chooseFolder(QLineEdit *field)
{
    const QString folder = QFileDialog::getExistingDirectory(this, QString(), field->text());
    if (folder.isEmpty())
        return;
    if (field == DirOutput)
        DirOutputChosen(folder);
    else
        field->setText(QDir::toNativeSeparators(folder));
}

// ---- links -------------------------------------------------------------------------------

QStringList TDlgOptions::linkAddresses(const QLabel *label) const
{
    return m_links.value(label);
}

void TDlgOptions::setLinkEnabled(QLabel *label, bool enabled)
{
    // A disabled link is still drawn blue; plain text shows it greyed.
    label->setEnabled(enabled);
    const QString caption = m_linkCaptions.value(label);
    label->setText(enabled ? linkHtml(caption) : caption);
}

void TDlgOptions::openLinks(const QLabel *label)
{
    for (const QString &address : linkAddresses(label)) {
        if (m_hooks.openInNewBrowser)
            m_hooks.openInNewBrowser(address);
        else
            qCInfo(lcQuillon) << "no browser to open" << address;
    }
}

// ---- look --------------------------------------------------------------------------------

void TDlgOptions::showColour()
{
    QPixmap swatch(28, 14);
    swatch.fill(fromColourValue(m_model->ColorFontAll()));
    ColorFontAll->setIcon(QIcon(swatch));
    ColorFontAll->setIconSize(swatch.size());
}

void TDlgOptions::updatePreview()
{
    QFont font(m_model->FontAll().isEmpty() ? MemoPreview->font().family() : m_model->FontAll());
    font.setPointSize(std::max(1, int(std::lround(m_model->SpinFontAllSize()))));
    font.setBold(m_model->BtnFontAllBold());
    font.setItalic(m_model->BtnFontAllItalic());
    MemoPreview->setFont(font);
    QPalette pal = MemoPreview->palette();
    pal.setColor(QPalette::Text, fromColourValue(m_model->ColorFontAll()));
    MemoPreview->setPalette(pal);
}

void TDlgOptions::fontControlChanged()
{
    updatePreview();
    if (m_showing)
        ChkUseFonts->setChecked(true);
}

void TDlgOptions::loadBackgroundFromSettings()
{
    m_standardLook = false;
    const QString file = m_model->EditBg();
    if (QFileInfo(file).isFile() && LoadPicture(file, PictureTypeOf(file), m_imageBg, &m_gif)) {
        m_standardLook = QFileInfo(file).fileName().compare(kStandardPictureName, Qt::CaseInsensitive) == 0;
    } else {
        m_imageBg = m_imageBgStd;
        m_gif.reset();
        m_standardLook = true;
    }
    ImageBg->setPixmap(QPixmap::fromImage(m_imageBg));
}

bool TDlgOptions::BackgroundChosen(const QString &file)
{
    m_model->setDlgOpenPicture(QFileInfo(file).absolutePath());
    EditBg->setText(file);
    m_lookChanged = true;
    if (!LoadPicture(file, PictureTypeOf(file), m_imageBg, &m_gif)) {
        if (m_prompter)
            m_prompter->error(QStringLiteral("Error loading image!"), QStringLiteral("Image error"));
        m_imageBg = m_imageBgStd;
        m_standardLook = true;
        ImageBg->setPixmap(QPixmap::fromImage(m_imageBg));
        return false;
    }
    m_standardLook = QFileInfo(file).fileName().compare(kStandardPictureName, Qt::CaseInsensitive) == 0;
    ChkUseBg->setChecked(true);
    ImageBg->setPixmap(QPixmap::fromImage(m_imageBg));
    return true;
}

void TDlgOptions::RxSpeedButton1Click()
{
    if (!QFileInfo(m_model->DlgOpenPicture()).isDir())
        m_model->setDlgOpenPicture(QCoreApplication::applicationDirPath());
    QFileDialog dialog(this);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(qtFilters(
        QStringLiteral("Images (*.bmp; *.jpg; *.gif; *.png; *.jp2)|*.bmp;*.jpg;*.gif;*.png;*.jp2")));
    dialog.setDirectory(m_model->DlgOpenPicture());
    const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    // Whatever the answer, the dialog starts next time where it was left.
    m_model->setDlgOpenPicture(dialog.directory().absolutePath());
    if (chosen)
        BackgroundChosen(QDir::toNativeSeparators(dialog.selectedFiles().constFirst()));
}

void TDlgOptions::ChkUseBgClick()
{
    if (!m_showing)
        return;
    m_lookChanged = true;
    const QString file = m_model->EditBg();
    if (ChkUseBg->isChecked() && QFileInfo(file).isFile() && m_imageBg.isNull()) {
        if (LoadPicture(file, PictureTypeOf(file), m_imageBg, &m_gif)) {
            m_standardLook =
                QFileInfo(file).fileName().compare(kStandardPictureName, Qt::CaseInsensitive) == 0;
            ImageBg->setPixmap(QPixmap::fromImage(m_imageBg));
        } else {
            m_lookChanged = false;
            ChkUseBg->setChecked(false);
        }
    }
}

void TDlgOptions::setBarBackground(QWidget *w, const QImage &picture)
{
    if (!w)
        return;
    QPalette pal = w->palette();
    if (picture.isNull())
        pal.setBrush(w->backgroundRole(), QApplication::palette(w).brush(w->backgroundRole()));
    else
        pal.setBrush(w->backgroundRole(), QBrush(picture));
    w->setPalette(pal);
    w->setAutoFillBackground(!picture.isNull());
    // A combo box or an edit on the bar would otherwise take the tiled brush as its own
    // background and be drawn as a dark block.
    for (QWidget *child : w->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        QPalette own = child->palette();
        for (QPalette::ColorRole role :
             {child->backgroundRole(), QPalette::Base, QPalette::Button, QPalette::Window})
            own.setBrush(role, QApplication::palette(child).brush(role));
        child->setPalette(own);
    }
}

void TDlgOptions::ApplyDialogLook(QWidget *speedBar, const QFont &mainBarFont,
                                  const QList<QWidget *> &colouredButtons) const
{
    if (speedBar && ChkUseBg->isChecked() && !m_imageBg.isNull())
        setBarBackground(speedBar, m_imageBg);
    if (speedBar && ChkUseFonts->isChecked()) {
        QFont f = speedBar->font();
        f.setFamily(mainBarFont.family());
        f.setBold(mainBarFont.bold());
        f.setItalic(mainBarFont.italic());
        speedBar->setFont(f);
        QPalette pal = speedBar->palette();
        pal.setColor(QPalette::ButtonText, fromColourValue(m_model->ColorFontAll()));
        pal.setColor(QPalette::WindowText, fromColourValue(m_model->ColorFontAll()));
        speedBar->setPalette(pal);
    }
    if (!m_standardLook) {
        for (QWidget *button : colouredButtons) {
            QPalette pal = button->palette();
            pal.setColor(QPalette::Button, QApplication::palette().color(QPalette::Button));
            button->setPalette(pal);
        }
    }
}

// ---- storage, showing and closing --------------------------------------------------------

void TDlgOptions::restoreSettings(const IniStore &ini)
{
    m_model->restore(ini);
    const bool creating = !m_restored;
    if (creating) {
        m_restored = true;
        m_model->startOfRun();
    }
    showModel();
    restoreHandler();
    if (!creating)
        return;
    if (ComboCharacterSet->currentIndex() < 0)
        DetectCharacterSet();
    ComboCharacterSetChange();
    m_lookChanged = true;
    if (m_hooks.applyLook)
        m_hooks.applyLook();
    m_lookChanged = false;
    updatePreview();
}

void TDlgOptions::restoreHandler()
{
    loadBackgroundFromSettings();
    listRecorders();
    selectRecorder();
    ComboCDsChange();
    ComboCompressionChange();
    ComboCharacterSetChange();
    ChkDelRipWav->setEnabled(ChkRip2Mp3->isChecked());
    updatePreview();
}

void TDlgOptions::saveSettings(IniStore &ini) const
{
    m_model->save(ini);
}

void TDlgOptions::saveSection()
{
    if (m_ini)
        m_model->save(*m_ini);
    else
        qCWarning(lcQuillon) << "options not saved: the dialog has no settings store";
}

void TDlgOptions::selectPage(const QString &caption)
{
    for (int i = 0; i < PageControl1->count(); ++i)
        if (PageControl1->tabText(i).remove(QLatin1Char('&')).compare(caption, Qt::CaseInsensitive) == 0)
            PageControl1->setCurrentIndex(i);
}

int TDlgOptions::execModal(const QString &pageCaption)
{
    if (!pageCaption.isEmpty())
        selectPage(pageCaption);
    m_lookChanged = false;
    BtnDriveProp->setEnabled(!(m_hooks.driveButtonLocked && m_hooks.driveButtonLocked()));
    m_showing = true;
    const int result = m_execHook ? m_execHook(*this) : exec();
    m_showing = false;
    hide();
    if (result == QDialog::Accepted)
        closeWithOk();
    else
        closeWithCancel();
    return result;
}

bool TDlgOptions::ShowAtPage(const QString &pageCaption)
{
    return execModal(pageCaption) == QDialog::Accepted;
}

bool TDlgOptions::ShowOptionsDialog(const QString &pageCaption)
{
    const bool upcaseBefore = ChkUpcaseCDText->isChecked();
    if (m_dataOptions && m_dataOptions->ShouldShowAd) {
        ChkShowAds->setChecked(m_dataOptions->WantAds);
        ChkShowAds->show();
    }
    if (execModal(pageCaption) != QDialog::Accepted)
        return false;
    if (m_dataOptions) {
        TOptions &o = *m_dataOptions;
        o.UseHTTPProxy = CheckUseProxy->isChecked();
        o.HTTPProxy = EditProxy->text();
        o.HTTPProxyPort = EditProxyPort->value();
        o.HTTPProxyUser = EditProxyUser->text();
        o.setHTTPProxyPassword(EditProxyPassword->text());
        o.Identify = QStringLiteral("Mozilla/4.0 (compatible; MSIE 5.5; Windows NT 5.0)");
        o.WantAds = ChkShowAds->isChecked();
        if (o.ShouldShowAd && m_hooks.showBannerPanel)
            m_hooks.showBannerPanel(o.WantAds);
    }
    if (m_hooks.setDefaultDiscName)
        m_hooks.setDefaultDiscName(EditDefaultName->text());
    if (m_hooks.applyLook)
        m_hooks.applyLook();
    if (m_hooks.updateTotals)
        m_hooks.updateTotals();
    if (m_hooks.recaseCdText && ChkUpcaseCDText->isChecked() != upcaseBefore)
        m_hooks.recaseCdText(ChkUpcaseCDText->isChecked());
    return true;
}

void TDlgOptions::closeWithOk()
{
    trimAndUncheck(EditIsoOptions, ChkIsoOptions);
    trimAndUncheck(EditCdrecOptions, ChkCdrecOptions);
    trimAndUncheck(EditCdrDaoOptions, ChkCdrDaoOptions);
    if (EditMp3Comment->isModified() && EditMp3Comment->text().trimmed().isEmpty())
        ChkMp3Comment->setChecked(false);
    EditCharacterSetExit();
    trimAndUncheck(EditAppID, ChkAppID);
    trimAndUncheck(EditPublisherID, ChkPublisherID);
    trimAndUncheck(EditPreparerID, ChkPreparerID);
    trimAndUncheck(EditLameOptions, ChkLameOptions);
    // The image name is checked as the field is left; a bad name does not keep the dialog open.
    saveSection();
}

void TDlgOptions::closeWithCancel()
{
    if (m_ini)
        restoreSettings(*m_ini);
}

void TDlgOptions::AllowDeepFolders()
{
    ChkDeep->setChecked(true);
    saveSection();
}

} // namespace quillon
