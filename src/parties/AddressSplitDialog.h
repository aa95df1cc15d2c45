#pragma once

#include "parties/AddressSplit.h"

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace pennock::ui {

/// "地址识别": the pasted text beside the parts found in it, each in an edit, so that the
/// clerk corrects what the splitter got wrong before the parts are used.
class AddressSplitDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AddressSplitDialog(
        const core::SplitAddress& split, const QString& pastedText = {}, QWidget* parent = nullptr);

    /// The parts as the edits now hold them, trimmed.
    core::SplitAddress result() const;

    QPlainTextEdit* edtPasted = nullptr; ///< read-only
    QLineEdit* edtName = nullptr; ///< "收件人"
    QLineEdit* edtMobile = nullptr; ///< "手机"
    QLineEdit* edtPhone = nullptr; ///< "电话"
    QLineEdit* edtProvince = nullptr; ///< "省"
    QLineEdit* edtCity = nullptr; ///< "市"
    QLineEdit* edtDistrict = nullptr; ///< "区/镇"
    QLineEdit* edtAddress = nullptr; ///< "详细地址"
    QLineEdit* edtPostcode = nullptr; ///< "邮编"
    QPushButton* btOK = nullptr; ///< "确定"
    QPushButton* btCancel = nullptr; ///< "取消"
};

} // namespace pennock::ui
