#include "bills/TfmCheckKDD.h"

#include "bills/WaybillKind.h"
#include "parties/AddressSplitDialog.h"
#include "parties/ReferenceLookups.h"
#include "platform/Prompter.h"
#include "printing/Services.h"
#include "store/Database.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QToolBar>
#include <QToolButton>

namespace pennock::ui {

namespace {

QString q(const char* text) { return QString::fromUtf8(text); }

const QString kProvinces = QStringLiteral("Cb_S");
const QString kCities = QStringLiteral("Cb_XS");
const QString kCountries = QStringLiteral("cbCountry");
const QString kGoodsList = QStringLiteral("cb_zdWPNR");
const QString kRemarkList = QStringLiteral("cbBZ");
const QString kGoods = QStringLiteral("zdWPNR");
const QString kRemark = QStringLiteral("zdBz");
const QString kSenderProvince = QStringLiteral("zdHKRS");
const QString kReceiverProvince = QStringLiteral("zdSKRS");
const QString kSenderCity = QStringLiteral("zdHKRXS");
const QString kReceiverCity = QStringLiteral("zdSKRXS");
const QString kDestination = QStringLiteral("cbDestSite");
const QString kReceiverPhone = QStringLiteral("zdskrDH");
const QString kReceiverMobile = QStringLiteral("skrHandset");
const QString kSenderPhone = QStringLiteral("zdhkrDH");
const QString kSenderMobile = QStringLiteral("hkrHandset");
const QString kDestIsCity = QStringLiteral("cfgDestSiteIsCity");
const QString kMergeMobile = QStringLiteral("ckHandset2Phone");

bool is(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

bool isOneOf(const QString& name, std::initializer_list<QString> names)
{
    for (const QString& n : names)
        if (is(name, n))
            return true;
    return false;
}

} // namespace

TfmCheckKDD::TfmCheckKDD(BillEnvironment& env, QWidget* parent)
    : TfmBillForm(core::waybillKind(), env, parent)
{
    // Double clicks on a memo reach its viewport.
    for (const QString& name : { kGoods, kRemark })
        if (auto* memo = qobject_cast<QPlainTextEdit*>(item(name)))
            memo->viewport()->installEventFilter(this);
    for (const QString& name : { kProvinces, kCities, kCountries, kGoodsList, kRemarkList })
        if (auto* list = qobject_cast<QComboBox*>(item(name)))
            list->view()->setMinimumWidth(120);
    if (auto* provinces = qobject_cast<QComboBox*>(item(kProvinces)))
        connect(provinces, &QComboBox::editTextChanged, this,
            [this](const QString& text) { writeTarget(text); });
    if (auto* cities = qobject_cast<QComboBox*>(item(kCities)))
        connect(cities, &QComboBox::activated, this,
            [this, cities] { writeTarget(cities->currentText()); });
    if (auto* goods = qobject_cast<QComboBox*>(item(kGoodsList)))
        connect(goods, &QComboBox::editTextChanged, this, [this](const QString& text) {
            setItemText(kGoods, text);
            if (!isLoading())
                markChanged();
        });
    // A reopened bill brings its shown text, not the figures typed for another bill.
    if (auto* capitals = qobject_cast<QLineEdit*>(item(core::WaybillRules::kCapitals)))
        connect(capitals, &QLineEdit::textChanged, this, [this](const QString& text) {
            if (isLoading())
                loadedCapitals(text);
        });
    if (auto* city = qobject_cast<QLineEdit*>(item(kReceiverCity)))
        connect(city, &QLineEdit::textChanged, this, [this] { cityChanged(); });
    for (const auto& [phone, mobile] : { std::pair { kSenderPhone, kSenderMobile },
             std::pair { kReceiverPhone, kReceiverMobile } })
        if (auto* box = qobject_cast<QLineEdit*>(item(mobile)))
            connect(box, &QLineEdit::textChanged, this,
                [this, phone, mobile] { phoneFromHiddenMobile(phone, mobile); });

    if (QToolBar* bar = toolBarCheck()) {
        auto* batch = new QToolButton(bar);
        batch->setObjectName(QStringLiteral("btBatch"));
        batch->setText(q("批量打印"));
        batch->setToolTip(q("一个寄件人，多个收件人：从地址簿或订单表格批量打印"));
        batch->setToolButtonStyle(Qt::ToolButtonTextOnly);
        batch->setEnabled(bool(env.openBatch));
        connect(batch, &QToolButton::clicked, this, &TfmCheckKDD::btBatchClick);
        bar->insertWidget(bar->actions().value(bar->actions().size() - 1), batch);
        mPaste = new QLineEdit(bar);
        mPaste->setObjectName(QStringLiteral("edPasteAddress"));
        mPaste->setPlaceholderText(q("粘贴收件人地址"));
        mPaste->setToolTip(
            q("例如：张三 13800138000 浙江省杭州市西湖区文三路90号，识别后填入收件方"));
        mPaste->setMaximumWidth(220);
        connect(mPaste, &QLineEdit::returnPressed, this, &TfmCheckKDD::btPasteClick);
        auto* split = new QToolButton(bar);
        split->setObjectName(QStringLiteral("btPasteAddress"));
        split->setText(q("识别地址"));
        split->setToolButtonStyle(Qt::ToolButtonTextOnly);
        connect(split, &QToolButton::clicked, this, &TfmCheckKDD::btPasteClick);
        bar->insertWidget(bar->actions().value(0), mPaste);
        bar->insertWidget(bar->actions().value(1), split);
    }
    // The engine laid the first template out before this class existed.
    if (valid())
        laidOut();
}

void TfmCheckKDD::btPasteClick()
{
    const QString text = mPaste ? mPaste->text().trimmed() : QString();
    if (text.isEmpty())
        return;
    if (!mSplitter)
        mSplitter = std::make_unique<core::AddressSplitter>(
            core::AddressSplitter::forDatabase(env().services.db()));
    const core::SplitAddress split = mSplitter->split(text);
    std::optional<core::SplitAddress> confirmed;
    if (env().confirmAddress) {
        confirmed = env().confirmAddress(split, text);
    } else {
        AddressSplitDialog dialog(split, text, this);
        if (dialog.exec() == QDialog::Accepted)
            confirmed = dialog.result();
    }
    if (!confirmed)
        return;
    // The pasted recipient replaces the one before: what the text does not give is emptied.
    // The phone goes first, so that a hidden mobile box can still give it its number.
    const std::pair<QString, QString> fills[]
        = { { kind().payee.name, {} }, { q("zdSKRLXR"), confirmed->name },
              { kReceiverPhone, confirmed->phone }, { kReceiverMobile, confirmed->mobile },
              { kReceiverProvince, confirmed->province }, { kReceiverCity, confirmed->city },
              { q("edtSJRTown"), confirmed->district }, { q("zdSkrDZ"), confirmed->address },
              { q("zdSKRYB"), confirmed->postcode }, { q("edtCountryDest"), {} } };
    for (const auto& [name, value] : fills)
        setItemText(name, value);
    phoneFromHiddenMobile(kReceiverPhone, kReceiverMobile);
    if (QCheckBox* merge = option(kMergeMobile); merge && merge->isChecked())
        mergeMobile(true);
    cityChanged();
    sizeAddressMemo(q("zdSkrDZ"));
    markChanged();
    mPaste->clear();
}

void TfmCheckKDD::btBatchClick()
{
    if (env().openBatch)
        env().openBatch(this);
}

// ---------------------------------------------------------------------------------------------
// Pick lists over the boxes

void TfmCheckKDD::showOverlay(const QString& listName, const QString& target)
{
    auto* list = qobject_cast<QComboBox*>(item(listName));
    QWidget* box = item(target);
    if (!list || !box)
        return;
    mOverlayTarget = box->objectName();
    if (list->parentWidget() != box->parentWidget())
        list->setParent(box->parentWidget());
    list->setGeometry(box->geometry());
    {
        const QSignalBlocker block(list);
        list->setEditText(itemText(target));
    }
    list->show();
    list->raise();
    if (is(listName, kCities))
        fillCities();
    else
        fillListOnEntry(list);
    list->setFocus();
    list->lineEdit()->selectAll();
}

void TfmCheckKDD::writeTarget(const QString& text)
{
    if (mOverlayTarget.isEmpty() || itemText(mOverlayTarget) == text)
        return;
    setItemText(mOverlayTarget, text);
    if (!isLoading())
        markChanged();
    if (is(mOverlayTarget, kReceiverCity))
        cityChanged();
}

void TfmCheckKDD::overlayLeft(const QString& listName)
{
    QWidget* list = item(listName);
    if (!list || list->isHidden())
        return;
    if (is(listName, kCities) || is(listName, kCountries))
        writeTarget(itemText(listName));
    else if (is(listName, kRemarkList)) {
        setItemText(kRemark, itemText(listName));
        if (!isLoading())
            markChanged();
    }
    list->hide();
}

void TfmCheckKDD::fillCities()
{
    auto* list = qobject_cast<QComboBox*>(item(kCities));
    if (!list)
        return;
    if (mOverlayTarget.isEmpty())
        mOverlayTarget = kReceiverCity;
    // Each side lists the cities of its own province; without one the list stays as it was.
    const QString province
        = itemText(is(mOverlayTarget, kSenderCity) ? kSenderProvince : kReceiverProvince).trimmed();
    if (province.isEmpty())
        return;
    QStringList cities;
    try {
        cities = core::ReferenceLookups(env().services.db()).loadCitysByProvince(province);
    } catch (const core::DbError&) {
        return;
    }
    const QSignalBlocker block(list);
    const QString text = list->currentText();
    list->clear();
    list->addItems(cities);
    list->setCurrentIndex(-1);
    list->setEditText(text);
}

void TfmCheckKDD::fillFirstEntry(const QString& name, bool onlyWhenEmpty)
{
    auto* box = qobject_cast<QComboBox*>(item(name));
    if (!box)
        return;
    if (box->count() == 0) {
        const core::BillList* source = nullptr;
        for (const core::BillList& list : kind().lists)
            if (is(list.control, name))
                source = &list;
        if (!source)
            return;
        QStringList entries;
        try {
            entries = core::ReferenceLookups(env().services.db())
                          .loadDMListByName(source->name,
                              QStringLiteral("0,") + QString::number(currentTypeId()));
        } catch (const core::DbError&) {
            return;
        }
        const QSignalBlocker block(box);
        const QString text = box->currentText();
        box->addItems(entries);
        box->setCurrentIndex(-1);
        box->setEditText(text);
    }
    if (box->count() > 0 && (!onlyWhenEmpty || box->currentText().trimmed().isEmpty()))
        setItemText(name, box->itemText(0));
}

// ---------------------------------------------------------------------------------------------
// Layout, options, caption

void TfmCheckKDD::laidOut()
{
    for (const QString& name : { QStringLiteral("zdSign"), QStringLiteral("cbFromSite") })
        fillFirstEntry(name, true);
    for (const QString& name : { QStringLiteral("zdHkrDZ"), QStringLiteral("zdSkrDZ") })
        sizeAddressMemo(name);
}

void TfmCheckKDD::sizeAddressMemo(const QString& name)
{
    auto* memo = qobject_cast<QPlainTextEdit*>(item(name));
    if (!memo)
        return;
    int points = 9;
    if (memo->document()->blockCount() >= 2) {
        const int h = memo->height();
        points = h <= 21 ? 7 : h <= 23 ? 8 : 9;
    }
    QFont font = memo->font();
    if (font.pointSize() != points) {
        font.setPointSize(points);
        memo->setFont(font);
    }
}

void TfmCheckKDD::optionChanged(const core::BillOption& o)
{
    if (is(o.name, core::WaybillRules::kFormat)) {
        convertCapitals();
    } else if (is(o.name, kMergeMobile)) {
        mergeMobile(option(kMergeMobile)->isChecked());
    } else if (is(o.name, kDestIsCity)) {
        if (option(kDestIsCity)->isChecked() && !itemText(kReceiverCity).isEmpty())
            cityChanged();
    }
}

QString TfmCheckKDD::captionFor(core::CaptionMoment moment) const
{
    if (moment == core::CaptionMoment::Copied && variant().contains(q("复制")))
        return kind().kind + QLatin1Char('-') + variant() + QStringLiteral(" ID=")
            + QString::number(serialNo());
    return TfmBillForm::captionFor(moment);
}

// ---------------------------------------------------------------------------------------------
// Phones, destination, capitals

void TfmCheckKDD::mergeMobile(bool merge)
{
    const QString mobile = itemText(kReceiverMobile);
    if (mobile.isEmpty())
        return;
    QString phone = itemText(kReceiverPhone);
    const QString joined = QLatin1Char('\\') + mobile;
    if (merge) {
        if (phone.isEmpty())
            phone = mobile;
        else if (!phone.contains(mobile))
            phone += joined;
    } else {
        phone.remove(joined);
    }
    if (phone != itemText(kReceiverPhone)) {
        setItemText(kReceiverPhone, phone);
        markChanged();
    }
}

void TfmCheckKDD::phoneFromHiddenMobile(const QString& phone, const QString& mobile)
{
    QWidget* box = item(mobile);
    if (box && box->isHidden() && itemText(phone).trimmed().isEmpty())
        setItemText(phone, itemText(mobile));
}

void TfmCheckKDD::cityChanged()
{
    QCheckBox* follows = option(kDestIsCity);
    const QString city = itemText(kReceiverCity);
    if (follows && follows->isChecked() && itemText(kDestination) != city)
        setItemText(kDestination, city);
}

void TfmCheckKDD::loadedCapitals(const QString& text)
{
    static const QRegularExpression figures(QStringLiteral("^[0-9.]+$"));
    mFigures = figures.match(text).hasMatch() ? text : QString();
    mShown = text;
}

void TfmCheckKDD::convertCapitals()
{
    const QString& capitals = core::WaybillRules::kCapitals;
    // Capitals brought by a reopened bill stay as they are: there are no figures to convert.
    if (mFigures.isEmpty() && !itemText(capitals).isEmpty() && itemText(capitals) == mShown)
        return;
    setItemText(capitals, mFigures);
    const core::RuleMessage m = kind().rules->finishItem(*this, kind(), capitals);
    mShown = itemText(capitals);
    if (m.refused())
        env().services.prompter().inform(m.text, m.caption);
}

void TfmCheckKDD::capitalsLeft()
{
    // What the field shows after a conversion is not figures; only typing gives new ones.
    const QString text = itemText(core::WaybillRules::kCapitals);
    if (!text.isEmpty() && text == mShown)
        return;
    if (text != mFigures && !isLoading())
        markChanged();
    mFigures = text;
    convertCapitals();
}

// ---------------------------------------------------------------------------------------------
// Events

bool TfmCheckKDD::eventFilter(QObject* watched, QEvent* event)
{
    QObject* owner = watched;
    if (auto* w = qobject_cast<QWidget*>(watched); w && w->parentWidget()) {
        if (qobject_cast<QComboBox*>(w->parentWidget()) && qobject_cast<QLineEdit*>(w))
            owner = w->parentWidget();
        else if (qobject_cast<QPlainTextEdit*>(w->parentWidget()))
            owner = w->parentWidget(); // a memo's viewport
    }
    const QString name = owner->objectName();
    const QString& capitals = core::WaybillRules::kCapitals;
    switch (event->type()) {
    case QEvent::FocusIn:
        if (isOneOf(name, { kSenderProvince, kReceiverProvince })) {
            showOverlay(kProvinces, name);
            return true;
        }
        if (isOneOf(name, { kSenderCity, kReceiverCity })) {
            showOverlay(kCities, name);
            return true;
        }
        if (isOneOf(name, { QStringLiteral("edtCountryFrom"), QStringLiteral("edtCountryDest") })) {
            showOverlay(kCountries, name);
            return true;
        }
        if (is(name, kCities)) {
            fillCities();
        } else if (is(name, kSenderPhone) || is(name, kReceiverPhone)) {
            const QString mobile = is(name, kSenderPhone) ? kSenderMobile : kReceiverMobile;
            phoneFromHiddenMobile(name, mobile);
        } else if (is(name, capitals) && !itemText(capitals).isEmpty()) {
            // Leaving converts again only what was shown as figures here.
            if (!mFigures.isEmpty() && mFigures != itemText(capitals)) {
                setItemText(capitals, mFigures);
                mShown.clear();
            }
            if (auto* edit = qobject_cast<QLineEdit*>(item(capitals)))
                edit->selectAll();
        } else if (isOneOf(name, { QStringLiteral("zdSign"), QStringLiteral("cbFromSite") })) {
            fillFirstEntry(name, true);
        }
        break;
    case QEvent::FocusOut:
        if (static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason)
            break;
        if (isOneOf(name, { kProvinces, kCities, kCountries, kGoodsList, kRemarkList }))
            overlayLeft(name);
        else if (is(name, capitals)) {
            capitalsLeft();
            return true;
        }
        break;
    case QEvent::MouseButtonDblClick:
        if (is(name, kGoods)) {
            showOverlay(kGoodsList, kGoods);
            return true;
        }
        if (is(name, kRemark)) {
            showOverlay(kRemarkList, kRemark);
            return true;
        }
        break;
    case QEvent::MouseButtonPress:
        if (isOneOf(name, { kind().drawer.shape, kind().payee.shape })) {
            // A pick list still open writes its text before the picker fills the side.
            overlayLeft(kProvinces);
            overlayLeft(kCities);
        }
        break;
    case QEvent::KeyPress: {
        const int k = static_cast<QKeyEvent*>(event)->key();
        if (is(name, capitals) && (k == Qt::Key_Return || k == Qt::Key_Enter)) {
            capitalsLeft();
            focusNextChild();
            return true;
        }
        break;
    }
    case QEvent::KeyRelease: {
        const int k = static_cast<QKeyEvent*>(event)->key();
        if (isOneOf(name, { QStringLiteral("zdHkrDZ"), QStringLiteral("zdSkrDZ") })
            && (k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Backspace
                || k == Qt::Key_Delete))
            sizeAddressMemo(name);
        break;
    }
    default:
        break;
    }
    const bool handled = TfmBillForm::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress && watched == bgImage())
        if (QToolButton* save = button(QStringLiteral("btSaveCheck")))
            save->setFocus();
    return handled;
}

} // namespace pennock::ui
