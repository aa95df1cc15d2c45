#include "bills/BillKind.h"

#include "bills/BankKinds.h"
#include "bills/CkspKind.h"
#include "bills/ReceiptKinds.h"
#include "bills/WaybillKind.h"

namespace pennock::core {

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
    static const QList<const BillKind*> kinds = { &chequeKind(), &depositSlipKind(),
        &wireTransferKind(), &cashDepositKind(), &acceptanceKind(), &remittanceKind(),
        &customKind(), &receiptKind(), &exportInvoiceKind(), &freightKind(), &waybillKind() };
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
