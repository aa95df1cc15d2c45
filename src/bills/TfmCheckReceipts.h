#pragma once

#include "bills/TfmBillForm.h"

namespace pennock::ui {

/// The bills with lines of goods or charges: the receipt ("普通发票收据") and, through
/// `TfmCheckIVIntel`, the freight invoice. Quantity × price gives a line's amount as it is
/// typed; the total is computed from the lines while the template shows them, typed otherwise;
/// the receipt carries an anti-counterfeit code.
class TfmCheckReceipts : public TfmBillForm
{
    Q_OBJECT
public:
    explicit TfmCheckReceipts(BillEnvironment& env, QWidget* parent = nullptr);

    /// `length` characters picked at random from `characters`, upper-cased.
    static QString buildRadomStr(int length, const QString& characters);
    /// A new anti-counterfeit code by the options of the bar.
    void newCode();

protected:
    TfmCheckReceipts(const core::BillKind& kind, BillEnvironment& env, QWidget* parent);
    bool eventFilter(QObject* watched, QEvent* event) override;
    void optionChanged(const core::BillOption& option) override;
    void newBill() override;

private:
    void quantityEdited(int line);
    bool linesShown() const;
};

/// The international freight invoice ("国际货运发票"): six lines, no counterfoil and no code;
/// its user items offer the entries of the dictionary named by their hint.
class TfmCheckIVIntel : public TfmCheckReceipts
{
    Q_OBJECT
public:
    explicit TfmCheckIVIntel(BillEnvironment& env, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QComboBox* mFetch = nullptr; ///< `cbFetchCode`, laid over the user item being edited
    QString mFetchTarget;
};

} // namespace pennock::ui
