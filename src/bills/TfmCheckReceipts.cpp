#include "bills/TfmCheckReceipts.h"

#include "bills/ReceiptKinds.h"
#include "parties/ReferenceLookups.h"
#include "platform/Prompter.h"
#include "printing/Services.h"
#include "store/Database.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QRandomGenerator>

namespace pennock::ui {

namespace {

QString q(const char* text) { return QString::fromUtf8(text); }

bool is(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

const core::LineItemRules& lineRules(const core::BillKind& kind)
{
    return static_cast<const core::LineItemRules&>(*kind.rules);
}

} // namespace

TfmCheckReceipts::TfmCheckReceipts(BillEnvironment& env, QWidget* parent)
    : TfmCheckReceipts(core::receiptKind(), env, parent)
{
}

TfmCheckReceipts::TfmCheckReceipts(
    const core::BillKind& kind, BillEnvironment& env, QWidget* parent)
    : TfmBillForm(kind, env, parent)
{
    // Only what the user types counts: the program's own writes of a quantity compute nothing.
    for (int line = 1; line <= lineRules(kind).lines(); ++line)
        if (auto* quantity = qobject_cast<QLineEdit*>(item(QStringLiteral("zdSL%1").arg(line))))
            connect(quantity, &QLineEdit::textEdited, this, [this, line] { quantityEdited(line); });
    if (valid() && item(QStringLiteral("zdCodeAuto")))
        newCode();
}

QString TfmCheckReceipts::buildRadomStr(int length, const QString& characters)
{
    QString out;
    if (characters.isEmpty())
        return out;
    for (int i = 0; i < length; ++i)
        out += characters.at(QRandomGenerator::global()->bounded(int(characters.size())));
    return out.toUpper();
}

void TfmCheckReceipts::newCode()
{
    if (!item(QStringLiteral("zdCodeAuto")))
        return;
    bool ok = false;
    int length = optionText(QStringLiteral("cfgCodeLen")).trimmed().toInt(&ok);
    if (!ok || length <= 0)
        length = 20;
    QString seeds = optionText(QStringLiteral("cfgCodeSeeds"));
    if (seeds.isEmpty())
        seeds = QStringLiteral("0123456789");
    setItemText(QStringLiteral("zdCodeAuto"), buildRadomStr(length, seeds));
}

void TfmCheckReceipts::newBill()
{
    TfmBillForm::newBill();
    if (!option(QStringLiteral("cfgAutoCodeBuild"))
        || option(QStringLiteral("cfgAutoCodeBuild"))->isChecked())
        newCode();
}

void TfmCheckReceipts::quantityEdited(int line)
{
    if (isLoading())
        return;
    const core::RuleMessage m
        = kind().rules->finishItem(*this, kind(), QStringLiteral("zdSL%1").arg(line));
    if (!m.refused())
        return;
    env().services.prompter().inform(m.text, m.caption);
    if (QWidget* quantity = item(QStringLiteral("zdSL%1").arg(line)))
        quantity->setFocus();
}

bool TfmCheckReceipts::linesShown() const
{
    return isShown(QStringLiteral("zdDJ1")) || isShown(QStringLiteral("zdJE1"));
}

void TfmCheckReceipts::optionChanged(const core::BillOption& o)
{
    if (is(o.name, QStringLiteral("cfgCodeLen")) || is(o.name, QStringLiteral("cfgCodeSeeds"))
        || is(o.name, QStringLiteral("cfgAutoCodeBuild")))
        newCode();
}

bool TfmCheckReceipts::eventFilter(QObject* watched, QEvent* event)
{
    QObject* owner = watched;
    if (auto* edit = qobject_cast<QLineEdit*>(watched))
        if (auto* combo = qobject_cast<QComboBox*>(edit->parentWidget()))
            owner = combo;
    const QString name = owner->objectName();
    const bool total = is(name, QStringLiteral("zdHJJE")) || is(name, QStringLiteral("zdJEDX"));
    if (total && (event->type() == QEvent::FocusIn || event->type() == QEvent::MouseButtonPress)) {
        auto* box = qobject_cast<QLineEdit*>(owner);
        if (linesShown()) {
            // A total of the lines is not typed.
            if (box)
                box->setToolTip(is(name, QStringLiteral("zdJEDX"))
                        ? q("大写无需输入,只需输入项目单价金额，自动汇总!")
                        : q("汇总无需输入,只需输入项目金额，自动汇总!"));
            return true;
        }
        if (box)
            box->setToolTip(q("点击输入小写金额，回车自动变大写!"));
        enterAmount(item(QStringLiteral("zdHJJE")));
        return true;
    }
    if (event->type() == QEvent::MouseButtonDblClick && is(name, QStringLiteral("zdCodeAuto"))) {
        newCode();
        return true;
    }
    return TfmBillForm::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------

TfmCheckIVIntel::TfmCheckIVIntel(BillEnvironment& env, QWidget* parent)
    : TfmCheckReceipts(core::freightKind(), env, parent)
{
    mFetch = new QComboBox(panelImgBg());
    mFetch->setObjectName(QStringLiteral("cbFetchCode"));
    mFetch->setEditable(true);
    mFetch->setInsertPolicy(QComboBox::NoInsert);
    mFetch->hide();
    mFetch->lineEdit()->installEventFilter(this);
}

bool TfmCheckIVIntel::eventFilter(QObject* watched, QEvent* event)
{
    if (mFetch && watched == mFetch->lineEdit() && event->type() == QEvent::FocusOut
        && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        // Leaving the list writes its text into the item it lay over.
        if (!mFetchTarget.isEmpty() && itemText(mFetchTarget) != mFetch->currentText()) {
            setItemText(mFetchTarget, mFetch->currentText());
            markChanged();
        }
        mFetch->hide();
        return false;
    }
    const QString name = watched->objectName();
    if (event->type() == QEvent::FocusIn
        && name.startsWith(QStringLiteral("zdDef"), Qt::CaseInsensitive)) {
        QWidget* box = item(name);
        const core::BillControl* control = kind().control(name);
        if (box && control) {
            QStringList entries;
            try {
                core::ReferenceLookups lookups(env().services.db());
                entries = lookups.loadDMListByName(control->hint, QString::number(currentTypeId()));
                if (entries.isEmpty())
                    entries = lookups.loadDMListByName(control->hint, QStringLiteral("0"));
            } catch (const core::DbError&) {
            }
            mFetchTarget = box->objectName();
            mFetch->clear();
            mFetch->addItems(entries);
            mFetch->setCurrentIndex(-1);
            mFetch->setEditText(itemText(name));
            mFetch->setGeometry(box->geometry());
            mFetch->show();
            mFetch->raise();
            mFetch->setFocus();
            return true;
        }
    }
    return TfmCheckReceipts::eventFilter(watched, event);
}

} // namespace pennock::ui
