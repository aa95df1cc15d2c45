#pragma once

#include <QStringList>

namespace pennock::core {

struct BillKind;

/// The seven bank bills.
const BillKind& chequeKind(); ///< "支票"
const BillKind& depositSlipKind(); ///< "进账单"
const BillKind& acceptanceKind(); ///< "承兑汇票"
const BillKind& wireTransferKind(); ///< "电汇单"
const BillKind& cashDepositKind(); ///< "缴款单"
const BillKind& remittanceKind(); ///< "境外汇款申请书"
const BillKind& customKind(); ///< "定制单"

/// The eleven digit cells of the bank bills, 亿 to 分.
const QStringList& amountCellNames();

} // namespace pennock::core
