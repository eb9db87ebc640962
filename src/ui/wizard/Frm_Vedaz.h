// Frm_Vedaz: the program's only window, a two-page wizard. Page 1 names the source file,
// page 2 the target company and year, and starts the conversion run.
#pragma once

#include "convert/ConversionHost.h"
#include "data/CompanyDatabases.h"
#include "ui/wizard/EventPump.h"
#include "ui/wizard/ProgressPacer.h"
#include "ui/wizard/WizardControls.h"
#include "ui/wizard/WizardModel.h"
#include "ui/wizard/WizardPages.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>

namespace ktv {

class ConversionRun;
class FolderBrowser;

struct WizardOptions {
    std::string settingsFile;               // empty: the program's Vedaz.ini
    FolderBrowser* folderBrowser = nullptr; // empty: the folder dialog of our own
    std::function<int()> currentYear;       // empty: the system clock
};

class Frm_Vedaz : public QWidget, public ConversionHost {
    Q_OBJECT
public:
    // Builds the controls and runs the form's Load.
    explicit Frm_Vedaz(WizardOptions options = {}, QWidget* parent = nullptr);
    ~Frm_Vedaz() override;

    const WizardControls& controls() const { return m_c; }
    // The wizard's data: the boxes store into it as they change, the handlers change it.
    const WizardModel& model() const { return m_model; }
    CompanyDatabases& databases() { return m_set; }
    bool SettingsSaved() const { return m_model.settingsSaved; }
    bool Loading() const { return m_model.loading; }
    bool activated() const { return m_activated; }
    bool conversionRunning() const { return m_running; }

    // The event handlers. Each lets its failures through; the connections report them as
    // unhandled (see runHandler), so the program ends the way an uncaught error ends it.
    void Form_Activate();
    void Cmd_Ileri_Click();
    void Cmd_Geri_Click();
    void Cmd_Kapat_Click();
    void Cmd_KlasorBul_Click();
    void Cmd_CevrimYap_Click();
    void Cbo_KtdPvd_Click();
    void Cbo_FirmaKodu_Click();
    void File1_DblClick();

    // Runs a handler; an error it lets through gets the unhandled-error box and ends the program.
    void runHandler(void (Frm_Vedaz::*handler)());

    // ConversionHost: the run's view of this window.
    bool confirm(const std::string& text, const std::string& title) override;
    void setWaitCursor(bool on) override;
    void setProgressVisible(bool visible) override;
    void setProgressMax(int max) override;
    void setProgressMin(int min) override;
    void setProgressValue(int value) override;
    int progressValue() const override;
    void processEvents() override;
    void showMessage(const std::string& text, const std::string& title) override;

signals:
    // The form has been unloaded (closed by Close or by the window's close box).
    void unloaded();

protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    enum class PendingClose { None, CloseBox, CloseButton };

    void Form_Load();
    void connectHandlers();
    void ListeyiYenile(const QString& pattern); // the list refresh
    void selectSecilenDosya();
    // The one place the boxes are set from the model: after the load and after every handler.
    void showModel();
    void writeSettings();
    std::string caption() const;

    WizardOptions m_options;
    std::string m_settingsFile;
    WizardControls m_c;
    WizardModel m_model; // before the pages, which bind their boxes to it
    SourcePage m_source;
    TargetPage m_target;
    ProgressPacer m_progress; // paces PrgBar1's repaints during a run
    EventPump m_events;       // the run's yield before every record
    CompanyDatabases m_set;
    std::unique_ptr<ConversionRun> m_run;
    std::unique_ptr<FolderBrowser> m_ownBrowser;
    FolderBrowser* m_browser = nullptr;
    std::string m_startFolder; // the folder dialog's start folder
    bool m_activated = false;
    bool m_activationQueued = false;
    bool m_running = false;
    PendingClose m_pendingClose = PendingClose::None;
};

// The file pattern of a type: "*.ktd" for KTD, "*.pvd" for PVD and for none.
QString PatternOfType(std::optional<SourceType> type);

// True when the text is not empty and names an existing folder.
bool KlasorVar(const QString& folder);

} // namespace ktv
