#pragma once

#include "settings/FacedDialog.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace pennock::core {
class Services;
}

namespace pennock::ui {

/// "下拉列表字典管理": the drop-down dictionaries of one template, or the shared ones (0).
class Tfm_DMConfig : public FacedDialog
{
    Q_OBJECT
public:
    /// `checkTypeId` of 0 or less works on the shared dictionaries.
    Tfm_DMConfig(core::Services& services, int checkTypeId, QWidget* parent = nullptr);

    /// Entry of `Co_CheckType` meaning every template.
    static const QString kAllTemplates; ///< "<适用所有单据>"
    /// Names offered for a new dictionary.
    static const QStringList& suggestedNames();
    /// Entries the template list shows for a screen height.
    static int templateListRows(int screenHeight) noexcept;

    int checkTypeId() const noexcept { return mCheckTypeId; }
    /// The selected dictionary name; empty when there is none.
    QString currentName() const;

    /// Choosing a template: its identity, the caption, names and entries.
    void templateChosen(int index);
    void reloadNames();
    void reloadEntries();
    /// "2.1增加"
    void btAddNameClick();
    /// "+添加"
    void btAddClick();
    /// "E 修改"
    void btEditClick();
    /// "保存并刷新"
    void btSaveClick();
    /// "- 删除"
    void btDeleteClick();

    QComboBox* Co_CheckType = nullptr;
    QListWidget* listBoxNames = nullptr;
    QComboBox* edtNewName = nullptr;
    QPushButton* btAddName = nullptr;
    QLabel* lbEntries = nullptr;
    QTableWidget* gridEntries = nullptr;
    QCheckBox* ckShowShared = nullptr; ///< "显示公共字典内容"
    QPushButton* btAdd = nullptr;
    QPushButton* btEdit = nullptr;
    QPushButton* btSave = nullptr;
    QPushButton* btDelete = nullptr;
    QPushButton* btClose = nullptr;

    /// Typed entries not stored yet (new rows or edited values).
    bool hasPendingEntries();
    /// Pending entries are never dropped unasked: Yes stores them, No lets them go. False when
    /// storing failed (they stay in the grid).
    bool offerPendingEntries();

    QLabel* lbTemplate = nullptr; ///< "字典设置-" + template + "(单据号=" + id + ")"

    static const QString kCaption; ///< "Pennock软件-字典管理"
    static const QString kPendingQuestion;

    /// Grid columns.
    enum Column { ColId, ColName, ColValue, ColTemplate };

protected:
    void faceLoaded() override;
    void done(int result) override;

private:
    /// Stores the pending rows; false (with the message shown) on a database error.
    bool savePending();
    void commitEditor();
    void editCurrent();

    core::Services& mServices;
    int mCheckTypeId = 0;
    bool mFilling = false;
};

/// "字典管理设置(&N) 用途、始发站等": the dictionary editor on the main window's current
/// template, modally; it frees itself when closed.
void openDictionaryEditor(QWidget* mainWindow, core::Services& services, int currentTemplateId);

} // namespace pennock::ui
