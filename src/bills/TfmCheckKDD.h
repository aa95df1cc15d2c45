#pragma once

#include "bills/TfmBillForm.h"
#include "parties/AddressSplit.h"

#include <memory>

class QLineEdit;

namespace pennock::ui {

/// The express waybill form ("快递单"): sender and recipient with full postal details, pick
/// lists laid over the box being edited, phones that take the mobile, the capital field that
/// keeps the figures typed into it, and the batch window.
class TfmCheckKDD : public TfmBillForm
{
    Q_OBJECT
public:
    explicit TfmCheckKDD(BillEnvironment& env, QWidget* parent = nullptr);

    /// The figures last typed into the capital field.
    const QString& capitalFigures() const noexcept { return mFigures; }
    /// The box the pick lists last lay over.
    const QString& overlayTarget() const noexcept { return mOverlayTarget; }
    /// Lays a pick list over a box, with the box's text, and gives it the focus.
    void showOverlay(const QString& list, const QString& target);
    /// "批量打印": the batch window of this form.
    void btBatchClick();
    /// "识别地址": splits the pasted text and, once confirmed, fills the recipient side.
    void btPasteClick();
    QLineEdit* pasteBox() const { return mPaste; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void laidOut() override;
    void optionChanged(const core::BillOption& option) override;
    QString captionFor(core::CaptionMoment moment) const override;

private:
    void overlayLeft(const QString& list);
    void writeTarget(const QString& text);
    void fillCities();
    void fillFirstEntry(const QString& name, bool onlyWhenEmpty);
    void sizeAddressMemo(const QString& name);
    void mergeMobile(bool merge);
    void cityChanged();
    void phoneFromHiddenMobile(const QString& phone, const QString& mobile);
    void loadedCapitals(const QString& text);
    void convertCapitals();
    void capitalsLeft();

    QLineEdit* mPaste = nullptr;
    std::unique_ptr<core::AddressSplitter> mSplitter;
    QString mOverlayTarget;
    QString mFigures;
    QString mShown; ///< the field's text as the last conversion left it
};

} // namespace pennock::ui
