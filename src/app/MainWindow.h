#pragma once

#include "parties/PersonManage.h"
#include "parties/TPerson.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QComboBox;
class QDate;
class QFrame;
class QLabel;
class QMdiArea;
class QMenu;
class QPlainTextEdit;
class QTextBrowser;
class QTimer;
class QToolBar;

namespace pennock::core {
class FileChooser;
class Http;
class ProgramRegistry;
class Prompter;
class Services;
class Shell;
} // namespace pennock::core

namespace pennock::ui {

struct BillEnvironment;
class BillFormRegistry;
class GridServices;
struct HistoryEnvironment;
class PrinterBinding;
class PrinterSetupDialog;
class TfmBillForm;
class TfmWaybillBatch;

/// The main window: bill forms open inside its document area; it carries every menu and
/// toolbar command, the status bar with its clock, the online panel, the first-use
/// instructions, the background picture and the four system options.
class TfmMain : public QMainWindow
{
    Q_OBJECT
public:
    /// `files` and `printerDialog` default to the desktop's own dialogs; tests script them.
    TfmMain(core::Services& services, core::Shell& shell, core::ProgramRegistry& registry,
        core::FileChooser* files = nullptr, PrinterSetupDialog* printerDialog = nullptr,
        QWidget* parent = nullptr);
    ~TfmMain() override;

    /// year + month + day: the online panel stays hidden while the stored sum matches.
    static int daySum(const QDate& date);
    /// The product version as major.minor followed by the edition label.
    static QString versionText();
    /// The warning shown when the program folder lies inside an archive's temporary folder.
    static QString archiveWarning();
    /// A program folder with "$" in it is an archive's temporary folder: shows the warning and
    /// returns true; the caller ends the program before touching any file.
    static bool refuseArchiveFolder(const QString& programFolder, core::Prompter& prompter);

    /// Program folder with a trailing slash.
    QString getRunPath() const;
    /// An information box, with Yes/No when `ask` (true for Yes); nothing for an empty caption.
    bool alert(const QString& text, const QString& caption, bool ask);
    /// The value input dialog; empty when cancelled.
    QString giveMeAnValue(
        const QString& prompt, const QString& defaultValue, const QString& valueType);
    /// Reads the four system options into their check marks and flags.
    void LoadSysParam();
    /// Shows the background picture when the option is on, clears it otherwise.
    void InitBackGround();

    bool popPrinterDialog() const noexcept { return mPopPrinterDialog; }
    bool useDefaultDrawer() const noexcept { return mUseDefaultDrawer; }
    /// The default drawer read at start; none while the option is off or the group is empty.
    std::optional<core::TPerson> defaultDrawer() const
    {
        return mUseDefaultDrawer ? mDefaultDrawer : std::nullopt;
    }
    QStringList printers() const;
    QComboBox* cbPrinters() const { return mPrinters; }
    BillFormRegistry& billForms() const { return *mBillForms; }
    /// What the bill forms reach the main window through (the party picker among it).
    BillEnvironment& billEnvironment() const { return *mBillEnv; }
    PrinterBinding& printerBinding() const { return *mBinding; }
    GridServices& grids() const { return *mGrids; }
    int currentTemplateId() const;
    int clockTicks() const noexcept { return mTicks; }
    QString statusText(int panel) const;
    /// A menu, toolbar or popup command by its object name; null when there is none.
    QAction* command(const QString& name) const;

    /// One tick of the clock (`TimerSystem`).
    void onClockTick();

    /// The site the online panel fetches from and the client that fetches (tests serve their
    /// own); by default the vendor's host through the network.
    void setOnlineSite(core::Http& http, const QString& host);
    /// The online panel's one fetch (`THTTPThread`).
    void fetchOnlinePanel();
    /// The default drawer moved in a party picker: read it again, and once no window waits
    /// for a person, ask the open bill forms to be filled anew and close them.
    void defaultDrawerMoved();

signals:
    /// Once, about two seconds after start: the online panel may fetch its content.
    void onlineFetchDue();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Handler = std::function<void()>;

    void buildMenus();
    void buildToolBar();
    void buildPopupMenu();
    void buildCentralArea();
    void buildStatusBar();
    QAction* addCommand(QMenu* menu, const QString& name, const QString& caption,
        Handler handler = {}, const QKeySequence& shortcut = {});
    QAction* addBillCommand(QMenu* menu, const QString& name, const QString& caption,
        const QString& kind, const QKeySequence& shortcut = {});
    QAction* addMirror(QWidget* owner, const QString& name, const QString& caption, QAction* target,
        const QString& hint = {});
    QAction* addOption(QMenu* menu, const QString& name, const QString& caption);
    QMenu* addSubMenu(QMenu* parent, const QString& name, const QString& caption);

    void start();
    void writeRegistry();
    void fillContactLabel();
    QString vendorName();
    void placeBackground();
    void showClock();

    void optionClick(QAction* option, const QString& key);
    void backgroundOptionClick();
    void toggleFirstUse();
    void hidePanelForToday();
    void toggleOnlinePanel();
    void refreshClick();
    void toggleToolBar();
    void clearCachesClick();
    void restartClick();
    void exitClick();
    void calculatorClick();
    void lockScreenClick();
    void openParties(const QString& type);
    /// The history window of a bill kind, modally.
    void openHistoryWindow(const QString& kind);
    void reloadDefaultDrawer();
    void noticeDrawerMoved();
    /// Shows the online panel (help and upgrade) and opens a vendor page.
    void openVendorPage(int page, bool showPanel);
    /// The batch window of a waybill form, one at a time.
    void openWaybillBatch(TfmBillForm* form);
    /// "打印整体偏移调整(&M)" and the forms' "整体偏移", on a template (or the first one).
    void openPrintOffset(int templateId);
    /// What the party manager may do with the open bill forms.
    Tfm_PersonManage::OpenBills openBills();
    void openDesignMode(int templateId);
    /// "票据模板管理（默认、显示、隐藏）" and the forms' "配置常用模板", on a template.
    void openTemplateManager(int templateId);
    /// `nImpExp` (both pages) and the manager's import (`withExport` false).
    void openPackages(bool withExport);
    /// Open bill forms take up renamed, hidden, deleted and imported templates.
    void refreshBillTemplates();

    core::Services& mServices;
    core::Shell& mShell;
    core::ProgramRegistry& mRegistry;
    std::unique_ptr<core::FileChooser> mOwnFiles;
    core::FileChooser* mFiles = nullptr;
    QPointer<TfmWaybillBatch> mBatch;
    std::unique_ptr<PrinterSetupDialog> mOwnPrinterDialog;
    std::unique_ptr<GridServices> mGrids;
    PrinterBinding* mBinding = nullptr;
    std::unique_ptr<BillEnvironment> mBillEnv;
    std::unique_ptr<HistoryEnvironment> mHistoryEnv;
    QString mVersion;
    QMdiArea* mMdi = nullptr;
    BillFormRegistry* mBillForms = nullptr;
    QLabel* mImage = nullptr;
    QPlainTextEdit* mMemo = nullptr;
    QFrame* mPanel = nullptr;
    QLabel* mHide = nullptr;
    QTextBrowser* mBrowser = nullptr;
    QLabel* mContact = nullptr;
    QToolBar* mToolBar = nullptr;
    QMenu* mBankCheck = nullptr;
    QMenu* mPopup = nullptr;
    std::array<QLabel*, 5> mPanels {};
    QComboBox* mPrinters = nullptr;
    QTimer* mClock = nullptr;
    QAction* mPopPrint = nullptr;
    QAction* mNeedLogin = nullptr;
    QAction* mSystemBackImage = nullptr;
    QAction* mUseDefaultCPR = nullptr;
    int mTicks = 0;
    bool mFetchDone = false;
    bool mPopPrinterDialog = false;
    bool mUseDefaultDrawer = false;
    std::optional<core::TPerson> mDefaultDrawer;
    std::unique_ptr<core::Http> mOwnHttp;
    core::Http* mHttp = nullptr;
    QString mSiteHost;
    bool mDrawerNoticePending = false;
};

} // namespace pennock::ui
