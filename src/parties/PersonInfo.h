#pragma once

#include "settings/FacedDialog.h"

#include "parties/TPerson.h"

#include <QDialog>
#include <QHash>

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;

namespace pennock::core {
class Services;
}

namespace pennock::ui {

/// "单位详细资料": the party editor. Saving stores the fields as one party; "多头单位(&C)" makes
/// the next save store a copy, so one company can keep several accounts.
class Tfrm_PersonInfo : public FacedDialog
{
    Q_OBJECT
public:
    explicit Tfrm_PersonInfo(core::Services& services, QWidget* parent = nullptr);

    QLineEdit* edtID = nullptr;
    QLineEdit* edtName = nullptr;
    QLineEdit* edtInputCode = nullptr;
    QLineEdit* edtContactor = nullptr;
    QLineEdit* edtBank = nullptr;
    QLineEdit* edtBankAcct = nullptr;
    QLineEdit* edtBankAddr = nullptr;
    QLineEdit* edtBankNo = nullptr;
    QLineEdit* edtIdentity = nullptr;
    QComboBox* edtProvince = nullptr;
    QComboBox* edtCity = nullptr;
    QComboBox* edtTown = nullptr;
    QPlainTextEdit* edtAddress = nullptr;
    QLineEdit* edtPhone = nullptr;
    QLineEdit* edtHandset = nullptr;
    QLineEdit* edtZipcode = nullptr;
    QComboBox* edtCountry = nullptr;
    QComboBox* edtGroup = nullptr;
    QComboBox* cbAcountType = nullptr;
    QLineEdit* edtRemark = nullptr;
    QLineEdit* edtDef1 = nullptr;
    QLineEdit* edtDef2 = nullptr;
    QLineEdit* edtDef3 = nullptr;
    QLabel* lbInputCode = nullptr; ///< "输入助记码：", explains the mnemonic when clicked
    QCheckBox* ckAddNext = nullptr; ///< "单位保存后立即添加下一条"
    QPushButton* btSave = nullptr;
    QPushButton* btSaveClose = nullptr;
    QPushButton* btReset = nullptr;
    QPushButton* btCopy = nullptr;
    QPushButton* btClose = nullptr;

    /// The placeholder of the district list.
    static const QString kTownHint; ///< "请直接输入"

    /// Fills every field from the party of this identity; false when there is none.
    bool loadPerson(int id);
    /// Shows a record in the fields, its identity included.
    void showPerson(const core::TPerson& person);
    /// The fields as a record, as they are saved.
    core::TPerson personFromFields() const;

    /// "保  存(&S)"; true when stored.
    bool btSaveClick();
    /// "保存并关闭(&M)"
    void btSaveCloseClick();
    /// "重 填 (&N)": every field and the identity emptied.
    void btResetClick();
    /// "多头单位(&C)": the next save stores a new party.
    void btCopyClick();

signals:
    /// A party was stored; its identity.
    void saved(int id);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildFields();
    void fillGroups();
    void fieldEntered(QObject* field);
    void townLeft();
    void provinceChanged();
    static void refill(QComboBox* box, const QStringList& items);

    core::Services& mServices;
    QHash<QObject*, QWidget*> mEnterNext;
    bool mProvincesFilled = false;
};

/// The bill forms' "存收款人"/"存收件人": stores a party built from a bill. A record with an
/// identity updates that party silently; otherwise the editor opens, modally, on the party found
/// by name and account (or name and contact, name, contact), or empty, with the bill's non-empty
/// values written over it, for the user to save or close.
void savePersonFromBill(
    QWidget* parent, core::Services& services, const std::optional<core::TPerson>& record);

} // namespace pennock::ui
