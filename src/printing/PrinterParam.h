#pragma once

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace pennock::core {
class Services;
}

namespace pennock::ui {

class PrinterBinding;

/// How the printer windows reach the vendor's web site.
struct VendorLinks
{
    QString version; ///< the program version the links carry
    /// Opens the site's page with this path and query in the user's browser.
    std::function<void(const QString& pathAndQuery)> open;
};

/// The matching window: takes the recommended offsets and orientation of a known printer model
/// and applies them to every template at once.
class TfrmPrinterParam : public QDialog
{
    Q_OBJECT
public:
    /// A non-empty `lockedPrinter` is filled into the printer box, which is then disabled.
    TfrmPrinterParam(core::Services& services, PrinterBinding& binding, VendorLinks links,
        const QString& lockedPrinter = {}, QWidget* parent = nullptr);

    /// Shows a preset in group 1 and copies it into group 2.
    void choosePreset(int index);
    /// "3.【应用】到所有单据"
    void BitBtn1Click();
    /// ">>到Pennock网站，查找推荐参数"
    void openRecommendedParams();

    QComboBox* cb_PrintersWeKnow = nullptr;
    QLineEdit* edtOX = nullptr;
    QLineEdit* edtOY = nullptr;
    QLineEdit* edtOBoardPosition = nullptr;
    QComboBox* cbODirection = nullptr;
    QLabel* imgPrinter = nullptr;
    QComboBox* cb_PrintersClient = nullptr;
    QLineEdit* edtUPrinter = nullptr;
    QSpinBox* edtUX = nullptr;
    QSpinBox* edtUY = nullptr;
    QComboBox* cbUDirection = nullptr;
    QLineEdit* edtUBoardPosition = nullptr;
    QLabel* lbFindParams = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* Button1 = nullptr;

private:
    void showPreset(const QString& model);

    core::Services& mServices;
    PrinterBinding& mBinding;
    VendorLinks mLinks;
};

} // namespace pennock::ui
