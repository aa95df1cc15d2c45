#pragma once

#include <QDialog>
#include <QPoint>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QStatusBar;
class QTabWidget;
class QTimer;
class QUndoStack;

namespace pennock::core {
class Services;
}

namespace pennock::ui {

/// "模板设计": one template adapted item by item on the picture of its bill: where each input box
/// sits on screen, where and how the item prints, whether it is used and its default. Every
/// change reaches the item's layout row when its field is left; changes can be taken back.
class TfmCheckDesign : public QDialog
{
    Q_OBJECT
public:
    struct Links
    {
        /// The value input dialog: prompt and current text; the answer, empty when cancelled.
        std::function<QString(const QString& prompt, const QString& value)> askValue;
        /// The offset window for a template, modally.
        std::function<void(int templateId)> openOffset;
        /// The main window's current template, followed when another is chosen here.
        std::function<void(int templateId)> setCurrentTemplate;
        /// The designer's page of a template, modally (its paper size may change there).
        std::function<void(int templateId)> openDesigner;
    };

    TfmCheckDesign(
        core::Services& services, int templateId, Links links, QWidget* parent = nullptr);
    ~TfmCheckDesign() override;

    /// Chooses the template (handed over, else the first kind's default) and lays it out; false
    /// after the message when there is no template at all.
    bool load();
    /// Builds the picture and placeholders of a template unless it is laid out already.
    void layOutTemplate(int templateId, bool again = false);
    void chooseKind(const QString& kind);
    void chooseVariant(const QString& variant);
    /// Selects by a click on the list; false after "找不到对应的项目定义~~".
    bool selectByLabel(const QString& label);
    /// Selects the item of a placeholder (saving the previous one first when it is unsaved).
    void selectControl(QWidget* control);
    /// Writes the selected item's fields to its layout row; `asked`: the outcome in a box.
    bool saveItem(bool asked);
    /// A keyboard move (Ctrl: 1 px, Ctrl+Shift: 10 px) or resize (Shift) of the selected box.
    void keyMove(int key, Qt::KeyboardModifiers modifiers);
    /// One print arrow: 1 mm in that direction, saved at once.
    void printArrow(Qt::ArrowType direction);
    /// "勾选项目定义"
    void defineCheckBoxes();
    /// "预览打印效果"
    void openDesigner();
    /// Closing: the layout cache of the template is rebuilt.
    void finish();

    int templateId() const noexcept { return mTemplateId; }
    QString selectedName() const { return mSelectedName; }
    bool saved() const noexcept { return mSaved; }
    QWidget* control(const QString& name) const;
    QLabel* picture() const { return mPicture; }
    QListWidget* list() const { return mList; }
    QComboBox* kindBox() const { return mKinds; }
    QComboBox* variantBox() const { return mVariants; }
    QComboBox* fontBox() const { return mFontName; }
    QSpinBox* field(const QString& name) const;
    QCheckBox* check(const QString& name) const;
    QLineEdit* defaultValue() const { return mDefault; }
    QPushButton* button(const QString& name) const;
    QLabel* fontSample() const { return mFontSample; }
    QString status(int panel) const;
    QString message() const;
    QUndoStack* undoStack() const { return mUndo; }
    QTabWidget* pages() const { return mPages; }
    QWidget* maintenance() const { return mMaintenance; }
    /// A click on the status bar; enough of them show the maintenance commands.
    void statusClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    QSpinBox* addNumber(const QString& name, int low, int high, int value);
    void loadKind(const QString& kind);
    void buildPlaceholders();
    void loadItemFields();
    void placeControl(QWidget* control, int x, int y, int w, int h);
    void highlight(QWidget* control, bool on);
    void fieldLeft(const QString& name);
    void screenFieldChanged();
    void showMessage(const QString& text);
    void updateFontSample();
    void updateOptionCaptions();
    void refreshItems(const QStringList& names);
    QString itemCaption() const;
    QString labelOf(const QString& name) const;

    core::Services& mServices;
    Links mLinks;
    int mHandedOver;
    int mTemplateId = 0;
    int mLaidOut = 0;
    QString mKind;
    QString mLoadedKind;
    QString mVariant;
    QString mCheckBoxes;
    QString mSelectedName;
    QWidget* mSelected = nullptr;
    bool mLoading = false;
    bool mSelecting = false;
    bool mSaved = true;
    int mStatusClicks = 0;
    QPoint mDragFrom;
    bool mDragging = false;

    QComboBox* mKinds = nullptr;
    QComboBox* mVariants = nullptr;
    QListWidget* mList = nullptr;
    QScrollArea* mScroll = nullptr;
    QLabel* mPicture = nullptr;
    QTabWidget* mPages = nullptr;
    QComboBox* mFontName = nullptr;
    QLabel* mFontSample = nullptr;
    QLineEdit* mDefault = nullptr;
    QStatusBar* mStatusBar = nullptr;
    QLabel* mStatus[2] = {};
    QLabel* mMessage = nullptr;
    QTimer* mBlink = nullptr;
    QWidget* mMaintenance = nullptr;
    QUndoStack* mUndo = nullptr;
};

} // namespace pennock::ui
