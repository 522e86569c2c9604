#pragma once
// The program's start and end, in their fixed order.
#include "app/AppServices.h"
#include "settings/DlgOptionsU.h"

#include <memory>

namespace quillon {

class IniStore;
class TDlgAbort;
class TDlgNewFolder;
class TDlgOptions;
class TDlgSpl;
class TFormSplash;
class TMainForm;
class OptionsCommands;

class QuillonProgram {
public:
    explicit QuillonProgram(AppServices &services);
    ~QuillonProgram();

    // Everything up to the message loop: windows created in order, the splash kept at
    // least its minimum time, the main window shown.
    void start();
    // After the main window has closed: the main window's end, then the power-off when the
    // close came from it.
    void finish();
    // start(), the message loop, finish().
    int run();

    TMainForm *mainForm() const { return m_main.get(); }
    TDlgOptions *optionsDialog() const { return m_options.get(); }
    TDlgAbort *busyDialog() const { return m_busy.get(); }
    TDlgNewFolder *newFolderDialog() const { return m_newFolder.get(); }
    TDlgSpl *bannerWindow() const { return m_banner.get(); }
    OptionsCommands *optionsCommands() const { return m_optionsCommands; }
    IniStore &settings() { return *m_settings; }
    qint64 splashShownMs() const { return m_splashMs; }

private:
    void step(const char *name);

    AppServices &m_services;
    std::unique_ptr<IniStore> m_settings;
    std::unique_ptr<TMainForm> m_main;
    std::unique_ptr<TFormSplash> m_splash;
    std::unique_ptr<TDlgSpl> m_banner;
    std::unique_ptr<TDlgNewFolder> m_newFolder;
    std::unique_ptr<TDlgOptions> m_options;
    std::unique_ptr<TDlgAbort> m_busy;
    OptionsCommands *m_optionsCommands = nullptr; // a child of the main window
    qint64 m_splashMs = 0;
    bool m_finished = false;
};

} // namespace quillon
