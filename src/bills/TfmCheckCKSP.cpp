#include "bills/TfmCheckCKSP.h"

#include "bills/CkspKind.h"
#include "platform/Prompter.h"
#include "printing/Services.h"
#include "settings/Settings.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace pennock::ui {

namespace {

using core::CkspRules;

const QString kPrompt = QStringLiteral("提示");
const QString kDesignRate = QStringLiteral("100:100");

bool is(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

bool isQuantityOrPrice(const QString& name)
{
    for (int n = 1; n <= CkspRules::kLines; ++n)
        if (is(name, CkspRules::quantity(n)) || is(name, CkspRules::price(n)))
            return true;
    return false;
}

// The items whose finishing the rules convert: the lines' numbers and the rate.
bool converts(const QString& name)
{
    if (is(name, CkspRules::kRate))
        return true;
    for (int n = 1; n <= CkspRules::kLines; ++n)
        for (const QString& item :
            { CkspRules::quantity(n), CkspRules::price(n), CkspRules::sales(n), CkspRules::fob(n) })
            if (is(name, item))
                return true;
    return false;
}

const CkspRules& rulesOf(const core::BillKind& kind)
{
    return static_cast<const CkspRules&>(*kind.rules);
}

} // namespace

TfmCheckCKSP::TfmCheckCKSP(BillEnvironment& env, QWidget* parent)
    : TfmBillForm(core::exportInvoiceKind(), env, parent)
{
    {
        auto* pair = new QWidget(this);
        auto* row = new QHBoxLayout(pair);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(4);
        auto* label = new QLabel(QStringLiteral("汇率:"), pair);
        mRate = new QLineEdit(kDesignRate, pair);
        mRate->setObjectName(QStringLiteral("edtHuiLv"));
        mRate->setToolTip(QStringLiteral("外汇汇率，如: 100:680.23"));
        label->setBuddy(mRate);
        // Wide enough for a whole rate: a clipped one reads as another rate.
        mRate->setMinimumWidth(
            mRate->fontMetrics().horizontalAdvance(QStringLiteral("10000:6800.2345")) + 12);
        row->addWidget(label);
        row->addWidget(mRate);
        addToOptionBar(pair);
        connect(mRate, &QLineEdit::textChanged, this, &TfmCheckCKSP::rateTyped);
        // A refused rate is told once the user is done with it, not at every key.
        connect(mRate, &QLineEdit::editingFinished, this, [this] { finish(CkspRules::kRate); });
    }
    if (auto* rate = qobject_cast<QLineEdit*>(item(CkspRules::kRate)))
        connect(rate, &QLineEdit::textChanged, this, [this](const QString& text) {
            if (mRate->text() != text) {
                const QSignalBlocker block(mRate);
                mRate->setText(text);
            }
            // A layout writing the template's initial rate is not the bill's rate.
            if (laidOutTypeId() == currentTypeId()) {
                mOwnRate = text;
                mOwnRateCurrency = currencyName();
            }
            // The totals follow the rate as it is typed, as they follow the lines.
            writeTotalsQuietly();
        });
    // A stored bill's currency is read after its rate: the rate is of that currency.
    if (auto* currency = qobject_cast<QLineEdit*>(item(CkspRules::kCurrencyName)))
        connect(currency, &QLineEdit::textChanged, this, [this](const QString& text) {
            if (isLoading())
                mOwnRateCurrency = text;
        });
    for (int n = 1; n <= CkspRules::kLines; ++n)
        for (const QString& name : { CkspRules::sales(n), CkspRules::fob(n) })
            if (auto* edit = qobject_cast<QLineEdit*>(item(name)))
                connect(edit, &QLineEdit::textChanged, this, &TfmCheckCKSP::writeTotalsQuietly);
    // The engine takes the currency first; the rate of the new currency follows.
    connect(cfgMoneyType(), &QComboBox::activated, this, &TfmCheckCKSP::currencyChosen);
    if (auto* remember = findChild<QPushButton*>(QStringLiteral("btRmember")))
        connect(remember, &QPushButton::clicked, this, &TfmCheckCKSP::rememberRate);
    if (QToolButton* copy = button(QStringLiteral("btSaveAs"))) {
        connect(copy, &QToolButton::pressed, this, [this] { mSerialBeforeCopy = serialNo(); });
        connect(copy, &QToolButton::clicked, this, [this] {
            if (mSerialBeforeCopy != -1 && serialNo() == -1)
                this->env().services.prompter().inform(QStringLiteral("单据复制成功！"), kPrompt);
            mSerialBeforeCopy = -1;
        });
    }
    // The engine laid the first template out before this class existed.
    if (valid())
        laidOut();
}

void TfmCheckCKSP::laidOut()
{
    if (!mRate)
        return; // the engine's first layout, before this class was built
    // The bill's own rate stays while its currency does (a reopened bill keeps its rate).
    const qsizetype colon = mOwnRate.indexOf(QLatin1Char(':'));
    if (colon >= 0 && colon < mOwnRate.size() - 1 && mOwnRateCurrency == currencyName()) {
        showRate(mOwnRate);
        return;
    }
    // A remembered rate of the currency in use wins over the template's own.
    const QString remembered = env().services.settings().getConfigByname(currencyName());
    if (remembered.contains(QLatin1Char(':')))
        showRate(remembered);
    else
        showRate(itemText(CkspRules::kRate).isEmpty() ? kDesignRate : itemText(CkspRules::kRate));
}

void TfmCheckCKSP::showRate(const QString& rate)
{
    if (mRate->text() == rate)
        rateTyped(rate); // the box shows it already; the item may not
    else
        mRate->setText(rate);
}

void TfmCheckCKSP::rateTyped(const QString& typed)
{
    QString text = typed;
    if (text.contains(u'：')) {
        text.replace(u'：', u':');
        const QSignalBlocker block(mRate);
        mRate->setText(text);
    }
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (text == itemText(CkspRules::kRate) || colon < 0 || colon == text.size() - 1)
        return;
    setItemText(CkspRules::kRate, text);
    if (!isLoading())
        markChanged();
    writeTotalsQuietly();
}

void TfmCheckCKSP::currencyChosen()
{
    const QString remembered = env().services.settings().getConfigByname(currencyName());
    showRate(remembered.contains(QLatin1Char(':')) ? remembered : kDesignRate);
}

void TfmCheckCKSP::rememberRate()
{
    const QString rate = mRate->text().trimmed();
    if (rate.contains(QLatin1Char(':')) && !currencyName().isEmpty())
        env().services.settings().setConfigByname(currencyName(), rate);
}

void TfmCheckCKSP::finish(const QString& name)
{
    if (isLoading())
        return;
    const core::RuleMessage m = kind().rules->finishItem(*this, kind(), name);
    if (m.refused())
        env().services.prompter().inform(m.text, m.caption);
}

void TfmCheckCKSP::writeTotalsQuietly()
{
    if (!isLoading())
        rulesOf(kind()).writeTotals(*this);
}

bool TfmCheckCKSP::eventFilter(QObject* watched, QEvent* event)
{
    const QString name = watched->objectName();
    switch (event->type()) {
    case QEvent::FocusIn:
        if (isQuantityOrPrice(name))
            mTextOnEntry.insert(name.toLower(), itemText(name));
        break;
    case QEvent::FocusOut:
        // The rules convert these here; the engine would refocus the item on a refused rate
        // and keep the user from the rate box that mends it.
        if (converts(name) && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
            // Tabbing through an untouched quantity or price leaves a sales amount typed
            // straight into the line as it is.
            const auto entry = mTextOnEntry.constFind(name.toLower());
            const bool untouched = entry != mTextOnEntry.constEnd() && *entry == itemText(name);
            mTextOnEntry.remove(name.toLower());
            if (!untouched)
                finish(name);
            return false;
        }
        break;
    case QEvent::KeyPress: {
        const int k = static_cast<QKeyEvent*>(event)->key();
        if (converts(name) && (k == Qt::Key_Return || k == Qt::Key_Enter)) {
            finish(name);
            return false;
        }
        break;
    }
    case QEvent::MouseButtonPress:
        if (is(name, CkspRules::kForeignCapitals) || is(name, CkspRules::kRmbCapitals))
            finish(name);
        break;
    default:
        break;
    }
    return TfmBillForm::eventFilter(watched, event);
}

} // namespace pennock::ui
