#pragma once

#include "settings/FacedDialog.h"

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace pennock::core {
class Database;
class FileChooser;
class ProgramFolder;
class Prompter;
class Settings;
} // namespace pennock::core

namespace pennock::ui {

/// "导入、导出票据格式": templates from a package file into the database, and templates of the
/// database into a new package file.
class TfrmBillImportExport : public FacedDialog
{
    Q_OBJECT
public:
    /// `withExport`: the export page is offered (the template manager opens the import only).
    /// `download`: the vendor's package page; empty leaves the link unavailable.
    TfrmBillImportExport(core::Database& db, const core::ProgramFolder& folder,
        core::Settings& settings, core::Prompter& prompter, core::FileChooser& files,
        bool withExport, std::function<void()> download = {}, QWidget* parent = nullptr);

    /// "浏览..": chooses a package and lists it.
    void browseImport();
    /// Lists the templates of a package file; false (and a message) when it cannot be used.
    bool loadPackageChecks(const QString& path);
    void moveSelected();
    void moveAll();
    void clearChosen();
    /// "3.开始导入(&D)"; the number imported.
    int importChosen();

    /// Lists the database's templates for export.
    void loadExistsChecks();
    void browseExport();
    void moveSelectedExport();
    void moveAllExport();
    void clearExport();
    /// "3.开始导出(&D)"; the number exported.
    int exportChosen();

    /// A double click on an entry: its picture.
    void showPackagePicture(const QString& fullName);

    QListWidget* packageList() const { return mFrom; }
    QListWidget* chosenList() const { return mChosen; }
    QListWidget* existingList() const { return mExisting; }
    QListWidget* exportList() const { return mExportChosen; }
    QLineEdit* importFile() const { return mImportFile; }
    QLineEdit* exportFile() const { return mExportFile; }
    QTabWidget* pages() const { return mPages; }
    QPushButton* button(const QString& name) const;
    /// True once templates reached the database.
    bool imported() const noexcept { return mImported; }

private:
    QPushButton* addButton(
        QWidget* owner, const QString& name, const QString& caption, const QString& hint = {});
    QWidget* buildImportPage();
    QWidget* buildExportPage();
    void setImportButtons(bool listed);
    void recordError(const QString& text);

    core::Database& mDb;
    const core::ProgramFolder& mFolder;
    core::Settings& mSettings;
    core::Prompter& mPrompter;
    core::FileChooser& mFiles;
    std::function<void()> mDownload;
    QString mPackagePath;
    bool mImported = false;
    QTabWidget* mPages = nullptr;
    QLineEdit* mImportFile = nullptr;
    QListWidget* mFrom = nullptr;
    QListWidget* mChosen = nullptr;
    QLabel* mImportProgress = nullptr;
    QLineEdit* mExportFile = nullptr;
    QListWidget* mExisting = nullptr;
    QListWidget* mExportChosen = nullptr;
    QLabel* mExportProgress = nullptr;
    QList<QPushButton*> mButtons;
};

} // namespace pennock::ui
