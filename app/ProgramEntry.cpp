#include "app/ProgramEntry.h"

#include "app/DlgAbortU.h"
#include "app/DlgNewFolderU.h"
#include "app/DlgSplU.h"
#include "app/DriveListServiceImpl.h"
#include "app/FormSplashU.h"
#include "app/Main.h"
#include "app/OptionsCommands.h"
#include "platform/DebugLog.h"
#include "platform/PowerOff.h"
#include "platform/Prompter.h"
#include "settings/DlgOptionsU.h"
#include "settings/IniStore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

namespace quillon {

QuillonProgram::QuillonProgram(AppServices &services)
    : m_services(services)
    , m_settings(std::make_unique<IniStore>())
{
}

QuillonProgram::~QuillonProgram()
{
    if (m_main && !m_finished)
        m_main->FormDestroy();
}

void QuillonProgram::step(const char *name)
{
    if (m_services.trace)
        m_services.trace->step(QLatin1String(name));
}

void QuillonProgram::start()
{
    step("application title");
    QApplication::setApplicationName(QStringLiteral("Quillon"));
    QElapsedTimer t0;
    t0.start();

    if (!m_services.paths.ensureWritableDirs())
        qCWarning(lcQuillon) << "some of the program's writable folders cannot be created";
    QString reason;
    if (!m_settings->load(m_services.paths.settingsFile(), &reason))
        qCInfo(lcQuillon) << "settings file not read:" << reason;

    step("main window");
    m_main = std::make_unique<TMainForm>(m_services, *m_settings);
    m_main->FormCreate();
    step("splash window");
    m_splash = std::make_unique<TFormSplash>();
    step("banner window");
    m_banner = std::make_unique<TDlgSpl>();

    m_splash->show();
    m_splash->repaint();

    step("new-folder dialog");
    m_newFolder = std::make_unique<TDlgNewFolder>(m_main.get());
    m_splash->repaint();
    step("options dialog");
    m_options = std::make_unique<TDlgOptions>(m_main.get());
    m_options->setSettingsStore(m_settings.get());
    m_options->setPrompter(m_services.prompter);
    m_options->setDataOptions(&m_main->Options());
    m_optionsCommands = new OptionsCommands(*m_main, *m_options);
    m_options->setMainWindowHooks(m_optionsCommands->hooks());
    if (auto *list = dynamic_cast<DriveListServiceImpl *>(m_services.drives); list && list->built())
        m_options->setDrives(&list->drives());
    if (!m_services.wizard || m_services.wizard->placeholder())
        m_services.wizard = m_optionsCommands;
    m_options->restoreSettings(*m_settings);
    m_splash->repaint();
    step("busy dialog");
    m_busy = std::make_unique<TDlgAbort>(m_main.get());
    m_main->attachDialogs(m_options.get(), m_busy.get());

    while (t0.elapsed() < m_services.splashMinimumMs) {
        m_splash->repaint();
        QCoreApplication::processEvents();
        QThread::msleep(50);
    }
    m_splashMs = t0.elapsed();
    step("splash closed");
    m_splash->hide();
    m_splash.reset();

    step("main window shown");
    m_main->show();
}

void QuillonProgram::finish()
{
    if (m_finished || !m_main)
        return;
    m_finished = true;
    const bool powerOff = m_main->PowerOffRequested;
    m_main->FormDestroy();
    if (!powerOff)
        return;
    step("power-off");
    QString reason;
    if (!m_services.powerOff || !m_services.powerOff->requestPowerOff(&reason))
        m_services.prompter->inform(
            QStringLiteral("The computer could not be switched off:\r\n%1").arg(reason),
            QStringLiteral("Warning"), PromptIcon::Warning);
}

int QuillonProgram::run()
{
    start();
    const int code = QApplication::exec();
    finish();
    return code;
}

} // namespace quillon
