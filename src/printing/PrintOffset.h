#pragma once

#include "settings/FacedDialog.h"

#include <functional>

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
    };

    TfrmPrintOffset(core::Services& services, int templateId, Links links, QWidget* parent = nullptr);

    /// Fills the list and selects the template asked for (says so when it is not there).
    void open();
    /// Reads the selected template's values into the fields.
    void loadFields();
    /// Writes the seven values; `quiet`: the outcome goes to the caption instead of a box.
    void save(bool quiet);
    /// One click of an arrow: `dx`, `dy` in 0.1 mm, then a quiet save.
    void nudge(int dx, int dy);
    void showFeedPicture(bool landscape);

    int templateId() const noexcept { return mTemplateId; }
    QListWidget* list() const { return mList; }
    QSpinBox* field(const QString& name) const;
    QRadioButton* landscape() const { return mLandscape; }
    QRadioButton* portrait() const { return mPortrait; }
    QPushButton* button(const QString& name) const;
    QLabel* readOut(const QString& name) const;
    QLabel* typeLabel() const { return mTypeName; }

private:
    QSpinBox* addField(const QString& name, int low, int high, const QString& hint);
    void showReadOuts();

    core::Services& mServices;
    Links mLinks;
    int mPreselected;
    int mTemplateId = 0;
    QString mFullName;
    QListWidget* mList = nullptr;
    QLabel* mTypeName = nullptr;
    QRadioButton* mPortrait = nullptr;
    QRadioButton* mLandscape = nullptr;
};

} // namespace pennock::ui
