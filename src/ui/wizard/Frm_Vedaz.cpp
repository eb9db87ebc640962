// The wizard form: load, activation, page moves, the close prompt, the source file page
// and the convert button.
#include "ui/wizard/Frm_Vedaz.h"

#include "app/AppPath.h"
#include "app/ReadWriteIni.h" // the settings file path
#include "app/ReportError.h"
#include "app/Tools.h"
#include "convert/ConversionRun.h"
#include "data/CompanyRegister.h"
#include "platform/core/Error.h"
#include "platform/core/MessageBox.h"
#include "platform/core/MousePointer.h"
#include "platform/qt/FolderBrowser.h"
#include "ui/controls/button/qvButtons_H.h"
#include "ui/wizard/FileListBox.h"
#include "ui/wizard/WizardAccessible.h"
#include "ui/wizard/WizardFont.h"
#include "ui/wizard/WizardIcon.h"
#include "ui/wizard/WizardSettings.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProgressBar>

#include <exception>
#include <filesystem>
#include <iterator>
#include <optional>
#include <utility>

namespace ktv {

namespace {

constexpr const char* kFolderTitle = "Çevrim Yapılacak Dosyaların Bulunduğu Klasör";
constexpr const char* kSavePrompt = "Yapılan Değişiklikleri Kaydetmek İster misiniz ?";
constexpr const char* kChooseYear = "Lütfen aktarım yılını seçiniz.";

QString qs(const std::string& s) { return QString::fromStdString(s); }

// Runs one step of the steps whose failures are skipped.
template <class F> void skipOnFailure(F&& step)
{
    try {
        step();
    } catch (const Error&) {
    } catch (const std::exception&) {
    }
}

// The window itself, then its controls: the buttons take the form's font when they are made.
WizardControls setUpForm(QWidget& form)
{
    installWizardAccessibility(); // before anything asks what the window and its lists are
    form.setObjectName(QStringLiteral("Frm_Vedaz"));
    form.setWindowTitle(QStringLiteral(" V4KT"));
    form.setWindowIcon(WizardIcon());
    form.setFont(WizardFont());
    form.setFixedSize(kClientWidth, kClientHeight);
    return buildWizardControls(&form);
}

} // namespace

QString PatternOfType(std::optional<SourceType> type)
{
    return type == SourceType::Ktd ? QStringLiteral("*.ktd") : QStringLiteral("*.pvd");
}

bool KlasorVar(const QString& folder) { return !folder.isEmpty() && QFileInfo(folder).isDir(); }

Frm_Vedaz::Frm_Vedaz(WizardOptions options, QWidget* parent)
    : QWidget(parent), m_options(std::move(options)),
      m_settingsFile(m_options.settingsFile.empty() ? SettingsFilePath() : m_options.settingsFile),
      m_c(setUpForm(*this)), m_source(m_c, m_model), m_target(m_c, m_model), m_progress(m_c.PrgBar1)
{
    m_browser = m_options.folderBrowser;
    if (!m_browser) {
        m_ownBrowser = std::make_unique<QtFolderBrowser>();
        m_browser = m_ownBrowser.get();
    }
    m_run = std::make_unique<ConversionRun>(m_set, *this);

    connectHandlers();
    m_c.Cbo_KtdPvd->setFocus();
    Form_Load();
}

Frm_Vedaz::~Frm_Vedaz() = default;

void Frm_Vedaz::connectHandlers()
{
    auto on = [this](auto* sender, auto signal, void (Frm_Vedaz::*handler)()) {
        connect(sender, signal, this, [this, handler] { runHandler(handler); });
    };
    on(m_c.Cmd_Ileri, &WizardButton::Click, &Frm_Vedaz::Cmd_Ileri_Click);
    on(m_c.Cmd_Geri, &WizardButton::Click, &Frm_Vedaz::Cmd_Geri_Click);
    on(m_c.Cmd_Kapat0, &WizardButton::Click, &Frm_Vedaz::Cmd_Kapat_Click);
    on(m_c.Cmd_Kapat1, &WizardButton::Click, &Frm_Vedaz::Cmd_Kapat_Click);
    on(m_c.Cmd_KlasorBul, &WizardButton::Click, &Frm_Vedaz::Cmd_KlasorBul_Click);
    on(m_c.Cmd_CevrimYap, &WizardButton::Click, &Frm_Vedaz::Cmd_CevrimYap_Click);
    // "activated" is the user's choice of an entry (mouse or keys); the program's own
    // selections call the handlers themselves.
    on(m_c.Cbo_KtdPvd, &QComboBox::activated, &Frm_Vedaz::Cbo_KtdPvd_Click);
    on(m_c.Cbo_FirmaKodu, &QComboBox::activated, &Frm_Vedaz::Cbo_FirmaKodu_Click);
    on(m_c.File1, &FileListBox::entryDoubleClicked, &Frm_Vedaz::File1_DblClick);
    for (QWidget* w : std::initializer_list<QWidget*>{m_c.Txt_FirmaAdi, m_c.Cbo_FirmaKodu, m_c.Cbo_VedazYili})
        w->installEventFilter(this);
}

void Frm_Vedaz::runHandler(void (Frm_Vedaz::*handler)())
{
    try {
        (this->*handler)();
        showModel();
    } catch (const Error& e) {
        ReportUnhandledError(e.number(), e.description());
    } catch (const std::filesystem::filesystem_error& e) {
        ReportUnhandledError(76, e.what());
    } catch (const std::bad_alloc&) {
        ReportUnhandledError(7, "Out of memory");
    } catch (const std::exception& e) {
        ReportUnhandledError(runtime_err::InternalError, e.what());
    }
}

std::string Frm_Vedaz::caption() const { return windowTitle().toStdString(); }

// ---- Load and activation ----------------------------------------------------------

void Frm_Vedaz::Form_Load()
{
    for (int code = 1; code <= kCompanyCodes; ++code)
        m_c.Cbo_FirmaKodu->addItem(QString::number(code));
    m_c.Cbo_FirmaKodu->setCurrentIndex(-1);
    m_model.loading = true;
    m_model.settingsSaved = true;
    readSourceSettings(m_settingsFile, m_model);
    // The register lookup of activation and every conversion use the server when one is set.
    m_set.Server = readServerSetting(m_settingsFile);
    showModel();
}

bool Frm_Vedaz::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate && !m_activated)
        runHandler(&Frm_Vedaz::Form_Activate);
    return QWidget::event(e);
}

void Frm_Vedaz::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    // A window system without a window manager may never activate the window; the first
    // show then stands for the first activation.
    if (!m_activated && !m_activationQueued) {
        m_activationQueued = true;
        QMetaObject::invokeMethod(
            this, [this] { runHandler(&Frm_Vedaz::Form_Activate); }, Qt::QueuedConnection);
    }
}

void Frm_Vedaz::Form_Activate()
{
    // The steps belong to the first activation only: message boxes and the folder dialog
    // activate the window again when they close.
    if (m_activated)
        return;
    m_activated = true;

    const QString folder = qs(m_model.folder);
    if (KlasorVar(folder)) {
        const QString file = qs(m_model.file);
        QString pattern = QStringLiteral("*.ktd;*.pvd");
        if (file.size() > 4)
            pattern =
                file.right(3) == QLatin1String("ktd") ? QStringLiteral("*.ktd") : QStringLiteral("*.pvd");
        m_c.File1->setPattern(pattern);
        m_c.File1->setPath(folder);
        selectSecilenDosya();
    }

    skipOnFailure([this] {
        const std::optional<double> position = readStoredType(m_settingsFile);
        // A position outside the list leaves the selection as it was.
        const std::optional<SourceType> stored =
            position && *position >= 0 && *position < double(kSourceTypes.size())
                ? SourceTypeAt(static_cast<int>(*position))
                : std::nullopt;
        if (stored) {
            m_model.setType(stored);
            Cbo_KtdPvd_Click();
        }
    });
    skipOnFailure([this] {
        m_model.code = "1";
        Cbo_FirmaKodu_Click();
    });
    skipOnFailure([this] {
        const int year = m_options.currentYear ? m_options.currentYear() : QDate::currentDate().year();
        if (year >= kFirstYear && year <= kLastYear)
            m_model.year = std::to_string(year);
    });
    m_model.loading = false;
    m_model.settingsSaved = true;
}

// ---- Navigation and closing -------------------------------------------------------

void Frm_Vedaz::Cmd_Ileri_Click()
{
    if (m_running)
        return;
    m_source.sendBack();
    m_target.showAt(m_source.frame()->pos());
    if (!m_model.settingsSaved)
        writeSettings();
    m_c.Cbo_FirmaKodu->setFocus();
}

void Frm_Vedaz::Cmd_Geri_Click()
{
    // While a run yields to events page 2 stays in front: its bar is the run's.
    if (m_running)
        return;
    m_target.sendBack();
    m_source.showInPlace();
}

void Frm_Vedaz::Cmd_Kapat_Click()
{
    if (m_running) {
        // The form must outlive the run; the close is carried out when the run ends.
        m_pendingClose = PendingClose::CloseButton;
        return;
    }
    if (!m_model.settingsSaved) {
        if (MsgBox(kSavePrompt, MsgButtons::YesNo, MsgIcon::Question, caption()) == MsgAnswer::Yes)
            writeSettings();
    }
    close();
}

void Frm_Vedaz::closeEvent(QCloseEvent* e)
{
    if (m_running) {
        if (m_pendingClose == PendingClose::None)
            m_pendingClose = PendingClose::CloseBox;
        e->ignore();
        return;
    }
    e->accept();
    emit unloaded();
}

void Frm_Vedaz::writeSettings()
{
    // An empty folder or file name is written as "."; the boxes show it too.
    writeSourceSettings(m_settingsFile, m_model);
}

void Frm_Vedaz::showModel()
{
    m_source.load();
    m_target.load();
}

// ---- Page 1: the source file ------------------------------------------------------

void Frm_Vedaz::ListeyiYenile(const QString& pattern)
{
    if (!KlasorVar(qs(m_model.folder)))
        return;
    m_c.File1->setPattern(pattern);
    m_c.File1->setPath(qs(m_model.folder));
    selectSecilenDosya();
}

void Frm_Vedaz::selectSecilenDosya()
{
    const QString wanted = qs(m_model.file);
    for (int i = 0; i < m_c.File1->ListCount(); ++i) {
        if (m_c.File1->List(i) == wanted) {
            m_c.File1->setListIndex(i);
            return;
        }
    }
    m_c.File1->setListIndex(-1);
}

void Frm_Vedaz::Cbo_KtdPvd_Click()
{
    // The list has stored its choice: a change of type is a change of the settings like the
    // folder and the file name; choosing the type already chosen is none.
    ListeyiYenile(PatternOfType(m_model.type));
}

void Frm_Vedaz::Cmd_KlasorBul_Click()
{
    if (m_running)
        return;
    m_startFolder = N_Ts(Value(m_model.folder));
    if (m_startFolder.empty())
        m_startFolder = QDir::rootPath().toStdString(); // the top of the file system
    const std::string chosen = m_browser->BrowseForFolder(this, kFolderTitle, m_startFolder);
    // A cancelled dialog changes no setting; only clearing a file name counts as one (the
    // model's change does that).
    if (!chosen.empty()) {
        m_model.setFolder(chosen);
        m_model.settingsSaved = false;
    }
    m_model.setFile(std::string());
    ListeyiYenile(PatternOfType(m_model.type));
}

void Frm_Vedaz::File1_DblClick()
{
    const int index = m_c.File1->currentRow();
    const QString name = index >= 0 ? m_c.File1->List(index) : QString();
    m_model.setFile(N_Ts(Value(name.toStdString())));
}

// ---- Page 2: company, year and the conversion ---------------------------------------

void Frm_Vedaz::Cbo_FirmaKodu_Click() { m_model.name = FirmaAdiBul(m_set, N_Ts(Value(m_model.code))); }

bool Frm_Vedaz::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(e);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const auto held = key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        if (enter && !held && !key->isAutoRepeat()) {
            focusNextChild(); // Enter acts as Tab on the boxes of page 2
            return true;
        }
    } else if (e->type() == QEvent::FocusIn && watched == m_c.Txt_FirmaAdi) {
        // Typing replaces the whole name.
        QLineEdit* const box = m_c.Txt_FirmaAdi;
        box->selectAll();
        // A click delivers the focus before the press, which then places the caret; select
        // again once the press is done.
        if (static_cast<QFocusEvent*>(e)->reason() == Qt::MouseFocusReason)
            QMetaObject::invokeMethod(
                box, [box] { box->selectAll(); }, Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, e);
}

void Frm_Vedaz::Cmd_CevrimYap_Click()
{
    // A run yields to events before every record; a second click meanwhile is ignored.
    if (m_running)
        return;
    // Without a year the year databases would land in the company folder itself, where no
    // later run or program looks for them; the list starts empty after 2010, so ask first.
    if (m_model.year.empty()) {
        MsgBox(kChooseYear, MsgButtons::Ok, MsgIcon::Exclamation, caption());
        m_c.Cbo_VedazYili->setFocus();
        return;
    }
    const ConversionRequest request = m_model.request(caption());

    m_running = true;
    m_events.restart();
    try {
        m_run->Cmd_CevrimYap(request);
    } catch (...) {
        m_running = false;
        m_pendingClose = PendingClose::None;
        m_progress.release();
        throw;
    }
    m_running = false;

    const PendingClose pending = std::exchange(m_pendingClose, PendingClose::None);
    if (pending == PendingClose::CloseButton)
        Cmd_Kapat_Click();
    else if (pending == PendingClose::CloseBox)
        close();
}

// ---- ConversionHost -----------------------------------------------------------------

bool Frm_Vedaz::confirm(const std::string& message, const std::string& title)
{
    return MsgBox(message, MsgButtons::YesNo, MsgIcon::Question, title) == MsgAnswer::Yes;
}

void Frm_Vedaz::setWaitCursor(bool on)
{
    mousePointer().setPointer(on ? Pointer::Hourglass : Pointer::Default);
}

void Frm_Vedaz::setProgressVisible(bool visible) { m_progress.setVisible(visible); }

void Frm_Vedaz::setProgressMax(int max) { m_c.PrgBar1->setMaximum(max); }

void Frm_Vedaz::setProgressMin(int min) { m_c.PrgBar1->setMinimum(min); }

void Frm_Vedaz::setProgressValue(int value) { m_progress.setValue(value); }

int Frm_Vedaz::progressValue() const { return m_progress.value(); }

void Frm_Vedaz::processEvents() { m_events.pump(); }

void Frm_Vedaz::showMessage(const std::string& message, const std::string& title)
{
    MsgBox(message, MsgButtons::Ok, MsgIcon::None, title);
}

} // namespace ktv
