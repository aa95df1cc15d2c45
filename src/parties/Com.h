#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace pennock::core {
class Services;
}

namespace pennock::ui {

/// "币种设置": adds, deletes and recodes currencies.
class TfrmCom : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmCom(core::Services& services, QWidget* parent = nullptr);

    QComboBox* cb_biz = nullptr;
    QLineEdit* ed_bz = nullptr; ///< "输入新币种："
    QLineEdit* ed_jm = nullptr; ///< "输入新简码："
    QPushButton* btAdd = nullptr;
    QPushButton* btDelete = nullptr;
    QPushButton* btModify = nullptr;
    QPushButton* btClose = nullptr;

    /// The longest name and code in GBK bytes (a Chinese character counts two).
    static constexpr int kNameBytes = 8;
    static constexpr int kCodeBytes = 3;

    /// Codes of the listed currencies, in list order.
    const QStringList& codes() const noexcept { return mCodes; }
    void loadList();
    /// Choosing a currency of the list.
    void currencyChosen(int index);
    /// "增加"
    void btAddClick();
    /// "删除"
    void btDeleteClick();
    /// "修改"
    void btModifyClick();

private:
    QString chosenName() const;

    core::Services& mServices;
    QStringList mCodes;
};

/// "币种设置": the currency editor, modally.
void openCurrencyEditor(QWidget* mainWindow, core::Services& services);

} // namespace pennock::ui
