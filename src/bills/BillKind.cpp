#include "bills/BillKind.h"

#include "bills/BankKinds.h"
#include "bills/CkspKind.h"
#include "bills/WaybillKind.h"

namespace pennock::core {

namespace {

// Kinds whose forms are still to come: their commands are listed, unavailable.
BillKind listedOnly(const char* kind, const char* command, const char* caption,
    const char* popup = "", const char* popupGroup = "")
{
    BillKind k;
    k.kind = QString::fromUtf8(kind);
    k.menuCommand = QString::fromUtf8(command);
    k.menuCaption = QString::fromUtf8(caption);
    k.popupCommand = QString::fromUtf8(popup);
    k.popupGroup = QString::fromUtf8(popupGroup);
    return k;
}

} // namespace

const BillControl* BillKind::control(const QString& name) const
{
    for (const BillControl& c : controls)
        if (c.name.compare(name, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

const BillOption* BillKind::option(const QString& name) const
{
    for (const BillOption& o : options)
        if (o.name.compare(name, Qt::CaseInsensitive) == 0)
            return &o;
    return nullptr;
}

QString BillKind::twinOf(const QString& name) const
{
    for (const auto& [item, twin] : twins)
        if (item.compare(name, Qt::CaseInsensitive) == 0)
            return twin;
    return {};
}

QString BillKind::caption(CaptionMoment moment, const QString& variant, int serial) const
{
    QString text = captions.value(moment);
    text.replace(QStringLiteral("%K"), kind);
    text.replace(QStringLiteral("%V"), variant);
    text.replace(QStringLiteral("%N"), QString::number(serial));
    return text;
}

const QList<const BillKind*>& billKinds()
{
    static const BillKind receipts = listedOnly("普通发票收据", "m_new_Receipts", "普通发票收据",
        "nIVReceipt", "发票");
    static const BillKind freight
        = listedOnly("国际货运发票", "m_new_IVIntel", "国际货运发票", "nIVIntel", "发票");
    static const QList<const BillKind*> kinds = { &chequeKind(), &depositSlipKind(),
        &wireTransferKind(), &cashDepositKind(), &acceptanceKind(), &remittanceKind(),
        &customKind(), &receipts, &exportInvoiceKind(), &freight, &waybillKind() };
    return kinds;
}

const BillKind* findBillKind(const QString& kind)
{
    for (const BillKind* k : billKinds())
        if (k->kind == kind && k->hasForm())
            return k;
    return nullptr;
}

QStringList billKindNames()
{
    QStringList names;
    for (const BillKind* k : billKinds())
        if (k->hasForm())
            names << k->kind;
    return names;
}

} // namespace pennock::core
