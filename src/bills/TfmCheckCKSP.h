#pragma once

#include "bills/TfmBillForm.h"

#include <QHash>

class QLineEdit;

namespace pennock::ui {

/// The export commodity invoice form ("出口商品发票"): seller and buyer, seven lines in a foreign
/// currency, the exchange rate box of the option bar with the rate remembered per currency,
/// and totals in both currencies that follow the lines.
class TfmCheckCKSP : public TfmBillForm
{
    Q_OBJECT
public:
    explicit TfmCheckCKSP(BillEnvironment& env, QWidget* parent = nullptr);

    /// The rate box of the option bar ("edtHuiLv").
    QLineEdit* rateBox() const { return mRate; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void laidOut() override;

private:
    void rateTyped(const QString& text);
    void showRate(const QString& rate);
    void currencyChosen();
    void rememberRate();
    /// Converts an item the user finished and tells a refusal.
    void finish(const QString& name);
    /// Writes the totals again while the user types, without a word about refusals.
    void writeTotalsQuietly();

    QLineEdit* mRate = nullptr;
    int mSerialBeforeCopy = -1;
    /// The rate the bill holds (typed, or read from a stored bill) and its currency: a new
    /// layout keeps it while the currency stays.
    QString mOwnRate;
    QString mOwnRateCurrency;
    /// The text a quantity or price had when it took the focus: passing it unchanged is no edit.
    QHash<QString, QString> mTextOnEntry;
};

} // namespace pennock::ui
