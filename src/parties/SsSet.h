#pragma once

#include "settings/FacedDialog.h"

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace pennock::core {
class Services;
}

namespace pennock::ui {

/// "省市代码设置": adds, renames and deletes the cities of the provinces.
class TfrmSsSet : public FacedDialog
{
    Q_OBJECT
public:
    explicit TfrmSsSet(core::Services& services, QWidget* parent = nullptr);

    QComboBox* CoS = nullptr; ///< "省(直辖市)："
    QListWidget* lstS = nullptr; ///< "市(县)：", each city after one blank
    QLabel* lblOldSx = nullptr; ///< the clicked city under "当前选中："
    QPushButton* btAdd = nullptr;
    QPushButton* btModify = nullptr;
    QPushButton* btDelete = nullptr;
    QPushButton* btExit = nullptr;
    QGroupBox* panelInput = nullptr;
    QLineEdit* edtProvince = nullptr; ///< "输入省（直辖市）："
    QLineEdit* edtCity = nullptr; ///< "输入新的市（县）："
    QPushButton* btOK = nullptr;
    QPushButton* btCancel = nullptr;

    /// Provinces again, the first one chosen, and its cities.
    void loadProvinces();
    void loadCities();
    /// "添 加"
    void btAddClick();
    /// "修 改"
    void btModifyClick();
    /// "确 定" on the input panel.
    void btOKClick();
    /// "取 消" on the input panel.
    void closePanel();
    /// "删 除"
    void btDeleteClick();
    /// The chosen city, trimmed; empty when none.
    QString selectedCity() const;

protected:
    void faceLoaded() override;

private:
    void openPanel(bool modifying);
    void restoreProvince(const QString& province);

    core::Services& mServices;
    bool mModifying = false;
    QString mOldCity;
};

/// "省市代码设置(&O)": the region-code editor, modally.
void openRegionEditor(QWidget* mainWindow, core::Services& services);

} // namespace pennock::ui
