#pragma once

#include "printing/PrintEngine.h"

#include <QDialog>
#include <QHash>
#include <QPoint>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSlider;
class QSpinBox;
class QTabWidget;
class QUndoStack;

namespace pennock::core {
class Services;
}

namespace pennock::ui {

/// The template's page at its paper size, drawn to scale with every printable item where and
/// as the print engine puts it; one or several items are selected and their print layout
/// edited in 0.1 mm, each change written at once and open to undo.
class TfmTemplateDesigner : public QDialog
{
    Q_OBJECT
public:
    struct Links
    {
        /// The paper size was saved: an open offset window reloads its fields.
        std::function<void()> paperSaved;
        /// A picture file for the page's background; empty when none was chosen.
        std::function<QString()> choosePicture;
    };

    /// The batch commands of the alignment page.
    enum class Batch {
        NarrowestWidth,
        WidestWidth,
        LowestHeight,
        HighestHeight,
        Wider,
        Narrower,
        Higher,
        Lower,
        Left,
        Right,
        Top,
        Bottom
    };

    TfmTemplateDesigner(
        core::Services& services, int templateId, Links links, QWidget* parent = nullptr);

    /// Title, page, items and list; false (after the message) for a template without kind.
    bool load();
    void drawAll();
    void redrawItem(const QString& name);
    void setZoom(const QString& percent);
    /// Millimetres of paper per screen pixel at the current zoom.
    double scale() const noexcept { return mScale; }
    int toPixels(int tenthMm) const;
    int toPaper(int pixels) const;

    void setMultiple(bool multiple);
    /// A left click on one of the item's labels.
    void clickItem(const QString& name);
    /// A double click: the item alone (the selection reset first) with its properties.
    void selectOnly(const QString& name);
    void selectAll();
    void invertSelection();
    void clearSelection();
    void selectGroup(const QString& text);
    QStringList selection() const { return mSelected; }

    /// One column of one item; true when the row was written.
    bool saveColumn(const QString& name, const QString& column, const QVariant& value);
    /// "上移", "下移", "左移", "右移" by the step.
    void moveSelection(int dx, int dy);
    void batch(Batch command);
    void batchFontSize(int size);
    void batchFontName(const QString& face);
    /// "批量应用-横向" / "-纵向"
    void distribute(bool across, int increment);
    /// "【保存项目设置】"
    void saveBox();
    /// "更新测试"
    void updateSample(const QString& text);
    /// "【保存票据设置】", centimetres.
    bool savePaperSize(double widthCm, double heightCm);
    void setStep(int tenthMm);

    /// The item's labels on the page, by name ("YEAR", "MEMOL0", "ZIPR1", …).
    QList<QLabel*> labelsOf(const QString& name) const;
    QLabel* label(const QString& labelName) const;
    QLabel* page() const { return mPage; }
    QString message() const;
    QUndoStack* undoStack() const { return mUndo; }
    QSpinBox* field(const QString& name) const;
    QCheckBox* check(const QString& name) const;
    QWidget* properties() const { return mProperties; }
    QTabWidget* batchPages() const { return mBatchPages; }
    QListWidget* available() const { return mAvailable; }
    QListWidget* chosen() const { return mChosen; }
    QComboBox* fontBox() const { return mFontName; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct DrawnItem
    {
        core::ItemLayout layout;
        QString sample;
        int boxW = 0; ///< 0.1 mm
        int boxH = 0;
    };
    std::optional<DrawnItem> readItem(const QString& name);
    void drawItem(const QString& name, const DrawnItem& item);
    void removeLabels(const QString& name);
    void paintSelection();
    void loadProperties();
    void loadList();
    void showSelection();
    void propertyChanged(const QString& fieldName);
    void say(const QString& text);
    QString labelText(const QString& name);
    void redrawSelection();
    /// One column set to one value on every selected item, as one step.
    void batchSet(
        const QString& column, const QVariant& value, const QString& step, const QString& done);
    std::function<void(const QStringList&)> refresher();

    core::Services& mServices;
    Links mLinks;
    int mTemplateId;
    QString mKind;
    double mWidthMm = 230;
    double mHeightMm = 127;
    int mZoom = 100;
    double mScale = 1;
    int mStep = 5;
    int mDpi = 96;
    bool mMultiple = false;
    bool mLoading = false;
    QStringList mSelected;
    QHash<QString, DrawnItem> mItems;
    QPoint mDragFrom;
    QString mDragging;
    bool mDragged = false;
    QPoint mDragTotal;

    QLabel* mTitle = nullptr;
    QDoubleSpinBox* mPaperW = nullptr;
    QDoubleSpinBox* mPaperH = nullptr;
    QLineEdit* mPreImage = nullptr;
    QRadioButton* mSingle = nullptr;
    QRadioButton* mMany = nullptr;
    QComboBox* mGroups = nullptr;
    QSlider* mStepBar = nullptr;
    QLabel* mStepText = nullptr;
    QComboBox* mZoomBox = nullptr;
    QCheckBox* mTransparent = nullptr;
    QScrollArea* mScroll = nullptr;
    QLabel* mPage = nullptr;
    QListWidget* mAvailable = nullptr;
    QListWidget* mChosen = nullptr;
    QWidget* mProperties = nullptr;
    QComboBox* mFontName = nullptr;
    QComboBox* mTestData = nullptr;
    QLineEdit* mDefault = nullptr;
    QTabWidget* mBatchPages = nullptr;
    QLabel* mStatus[4] = {};
    QList<QWidget*> mChrome;
    QUndoStack* mUndo = nullptr;
};

} // namespace pennock::ui
