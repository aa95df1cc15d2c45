#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QSplitter;
class QTableWidget;

namespace pennock::core {
class Services;
}

namespace pennock::ui {

/// "打印预览": where a template's printable items land on the paper, drawn with their sample
/// content on a sheet with centimetre rulers that the whole-page offset shifts. Only the sample
/// content edited in the grid is written back; the offsets shown here are never saved.
class Tfm_PrintPreview : public QDialog
{
    Q_OBJECT
public:
    Tfm_PrintPreview(core::Services& services, int templateId, QWidget* parent = nullptr);

    /// Title, items and grid; false (after the message) when the template has no kind, and the
    /// window is then to be closed.
    bool load();
    /// Rebuilds the sheet: its rulers and one label per shown piece of text.
    void drawItems();
    void loadGrid();
    /// Moves the sheet by the offsets in the spin fields, or to the origin when they are ignored.
    void placeSheet();

    QLabel* title() const { return mTitle; }
    QSpinBox* moveX() const { return mMoveX; }
    QSpinBox* moveY() const { return mMoveY; }
    QLineEdit* moveXText() const { return mMoveXText; }
    QLineEdit* moveYText() const { return mMoveYText; }
    QCheckBox* ignoreOffsets() const { return mIgnore; }
    QTableWidget* grid() const { return mGrid; }
    QWidget* sheet() const { return mSheet; }
    QWidget* area() const { return mArea; }
    QPushButton* closeButton() const { return mClose; }
    /// The text labels on the sheet, by name ("lb1", "lb2_0", …).
    QLabel* piece(const QString& name) const;
    QStringList pieceNames() const;
    /// Screen pixels of a length in 0.1 mm.
    int px(int tenthMm) const;
    /// Where the paper's point (0, 0) lies on the sheet.
    QPoint origin() const;

    /// One preview of a template, modally; the window frees itself.
    static void showFor(core::Services& services, int templateId, QWidget* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void addRuler(QWidget* on, Qt::Orientation orientation, int lengthPx, QPoint at, int first,
        int last, bool outer);
    bool drawText(const QString& name, const QString& text, int xTenthMm, int yTenthMm, int boxW,
        int boxH, const QFont& font);
    void writeSample(int row);

    core::Services& mServices;
    int mTemplateId;
    QString mKind;
    int mDpi = 96;
    QLabel* mTitle = nullptr;
    QSpinBox* mMoveX = nullptr;
    QSpinBox* mMoveY = nullptr;
    QLineEdit* mMoveXText = nullptr;
    QLineEdit* mMoveYText = nullptr;
    QCheckBox* mIgnore = nullptr;
    QPushButton* mClose = nullptr;
    QSplitter* mSplitter = nullptr;
    QTableWidget* mGrid = nullptr;
    QWidget* mArea = nullptr;
    QWidget* mSheet = nullptr;
    QList<QWidget*> mOuterRulers;
    bool mLoadingGrid = false;
};

} // namespace pennock::ui
