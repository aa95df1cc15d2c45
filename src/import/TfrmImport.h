#pragma once

#include "import/PartyImport.h"
#include "import/SheetReader.h"
#include "settings/FacedDialog.h"

#include <QList>

#include <functional>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStatusBar;

namespace pennock::core {
class FileChooser;
class Services;
class Shell;
} // namespace pennock::core

namespace pennock::ui {

/// "Pennock软件-收、发件人资料导入": parties from one sheet of a workbook, each party field
/// matched to a column by the title rules and correctable in its drop-down.
class TfrmImport : public FacedDialog
{
    Q_OBJECT
public:
    TfrmImport(core::Services& services, core::FileChooser& files, core::Shell& shell,
        QWidget* parent = nullptr);
    ~TfrmImport() override;

    static const QString kCaption; ///< "Pennock软件-收、发件人资料导入"
    static const QString kFileFilter; ///< the file dialog's filter

    /// Ticks a scene of `core::importScenes()` and keeps the choice from the person.
    void setScene(int index);
    int scene() const;
    /// Runs after an import (the party manager's "全部(&A)").
    void setAfterRun(std::function<void()> afterRun) { mAfterRun = std::move(afterRun); }

    /// "【浏览Excel】": the file dialog, then the file chosen.
    void btBrowseClick();
    /// A workbook chosen: its sheets, titles and the automatic matching.
    void chooseFile(const QString& path);
    /// A sheet chosen in "工作表：".
    void sheetChosen(int index);
    /// Fills every drop-down with the title list of the current sheet.
    void LoadExcelColumn2ComboxList();
    void ClearColumnIndexs();
    /// Automatic matching by the rules, read again from the table.
    void autoNewMatchProperty();
    /// "完成匹配": the columns shown in the drop-downs.
    void btReadyMatchClick();
    /// "固定" ticked or not.
    void applyFixedType();
    /// "4、【开始导入】(&M)"
    void btStartClick();
    /// "中止导入"
    void btStopItClick();
    /// "查看日志(&L)"
    void btLogClick();
    /// "【列匹配规则】"
    void btColumnCfgClick();

    /// The entries of the title list (the first empty).
    QStringList titleEntries() const;
    /// The drop-down of an item of `core::importItems()`.
    QComboBox* itemBox(int item) const { return mBoxes.value(item); }
    const core::ImportColumns& columns() const noexcept { return mColumns; }
    /// The options as the tick boxes show them.
    core::ImportOptions options() const;
    /// The last run's outcome.
    const core::ImportSummary& summary() const noexcept { return mSummary; }
    QString logPath() const;
    QString statusText() const;

    QGroupBox* gbScene = nullptr;
    QLineEdit* ed_file = nullptr;
    QPushButton* btBrowse = nullptr;
    QComboBox* cboWorkSheets = nullptr;
    QLabel* Label25 = nullptr;
    QCheckBox* cfgWPSFirst = nullptr;
    QCheckBox* ckType = nullptr;
    QPushButton* btColumnCfg = nullptr;
    QCheckBox* ckJudgeRepeated = nullptr;
    QCheckBox* ckName = nullptr;
    QCheckBox* ckContactor = nullptr;
    QCheckBox* ckPhone = nullptr;
    QCheckBox* ckAlert = nullptr;
    QCheckBox* ckReadLog = nullptr;
    QCheckBox* ckOrderIDOn = nullptr;
    QCheckBox* ckMemeberIDOn = nullptr;
    QPushButton* btStart = nullptr;
    QPushButton* btStopIt = nullptr;
    QPushButton* btLog = nullptr;
    QPushButton* btHidden = nullptr;
    QProgressBar* progress = nullptr;
    QStatusBar* statusBar = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    void readSheet();
    void setIniTick(const QString& key, bool ticked);

    core::Services& mServices;
    core::FileChooser& mFiles;
    core::Shell& mShell;
    QButtonGroup* mScenes = nullptr;
    QList<QComboBox*> mBoxes;
    std::optional<core::SheetBook> mBook;
    QList<QStringList> mRows;
    QList<core::SheetTitle> mTitles;
    core::ImportColumns mColumns;
    core::ImportSummary mSummary;
    std::function<void()> mAfterRun;
    bool mStop = false;
    bool mRunning = false;
};

} // namespace pennock::ui
