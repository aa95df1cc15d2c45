#pragma once

#include "settings/FacedDialog.h"

#include <QPointF>
#include <QSizeF>

#include <functional>
#include <utility>

class QDoubleSpinBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QToolButton;

namespace pennock::core {
class Services;
}

namespace pennock::ui {

/// "打印整体偏移调整": per template, the whole-page offset, the paper feed, the size of the
/// fill-in picture and the paper size, each change written to the template at once.
class TfrmPrintOffset : public FacedDialog
{
    Q_OBJECT
public:
    /// What the window hands over to other windows; an empty one leaves its command unavailable.
    struct Links
    {
        std::function<void(int templateId)> preview; ///< "预览"
        std::function<void(int templateId)> design; ///< "整体上差不多，我要调整某单项的打印位置"
        std::function<void(const QString& fullName)> recommended; ///< the vendor's page
        /// The bound printer, whose calibration a ruler measures; empty: none is installed.
        std::function<QString()> printer;
        /// Prints the calibration sheet of that paper size on the bound printer; an empty text
        /// when it went to the printer, else why not.
        std::function<QString(const QSizeF& paperMm)> printSheet;
        /// The stored calibration changed: the print engine takes it up.
        std::function<void()> calibrationChanged;
    };

    TfrmPrintOffset(
        core::Services& services, int templateId, Links links, QWidget* parent = nullptr);

    /// Fills the list and selects the template asked for (says so when it is not there).
    void open();
    /// Reads the selected template's values into the fields.
    void loadFields();
    /// Writes the seven values; `quiet`: the outcome goes to the caption instead of a box.
    void save(bool quiet);
    /// One click of an arrow: `dx`, `dy` in 0.1 mm, then a quiet save.
    void nudge(int dx, int dy);
    void showFeedPicture(bool landscape);

    /// The calibration sheet's two marks for the paper size in the fields (mm).
    std::pair<QPointF, QPointF> calibrationMarks() const;
    /// "打印校准页"
    void printCalibrationSheet();
    /// Where the ruler found the marks, typed in mm: computes, shows and stores the correction.
    bool saveMeasuredCalibration();
    void resetCalibration();
    QDoubleSpinBox* measured(int index) const { return mMeasured[index]; }
    QLabel* calibrationLabel() const { return mCalibration; }

    int templateId() const noexcept { return mTemplateId; }
    QListWidget* list() const { return mList; }
    QSpinBox* field(const QString& name) const;
    QRadioButton* landscape() const { return mLandscape; }
    QRadioButton* portrait() const { return mPortrait; }
    QPushButton* button(const QString& name) const;
    QLabel* readOut(const QString& name) const;
    QLabel* typeLabel() const { return mTypeName; }

private:
    QString printerName() const;
    QSpinBox* addField(const QString& name, int low, int high, const QString& hint);
    void showReadOuts();
    void showCalibration();

    core::Services& mServices;
    Links mLinks;
    int mPreselected;
    int mTemplateId = 0;
    QString mFullName;
    QListWidget* mList = nullptr;
    QLabel* mTypeName = nullptr;
    QRadioButton* mPortrait = nullptr;
    QRadioButton* mLandscape = nullptr;
    QDoubleSpinBox* mMeasured[4] = {};
    QLabel* mNominal = nullptr;
    QLabel* mCalibration = nullptr;
};

} // namespace pennock::ui
