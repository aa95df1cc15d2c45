#pragma once

#include "bills/Bill.h"
#include "parties/ReceiverList.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>
#include <utility>

namespace pennock::core {

class Services;

/// The waybill control each column of the receiver list fills, in the list's order.
const QList<std::pair<QString, QString>>& receiverControls();

/// Why a receiver cannot become a waybill; empty when it can.
QString receiverProblem(const Receiver& receiver);

/// Whether a batch waybill takes this control's value from the waybill on screen: the sending
/// (sender side, origin station, signature, carrier account, sender's customer number, date
/// and time) and the template's fixed texts do; recipient, goods, fees, ticks and number come
/// from the row alone.
bool carriedIntoBatch(const QString& control);

/// The waybill on screen reduced to what every waybill of a batch shares: its template, what
/// `carriedIntoBatch` keeps, its options and the boxes its template hides.
Bill batchBase(const Bill& screen);

/// The waybill of one receiver: `batchBase` of the base with the receiver's values. The options
/// of the base apply as on the form: "目的站=城市", "合并手机到电话", a hidden mobile box giving
/// its number to an empty phone, and the format of the capital field. None, with the reason,
/// when the receiver's figures are not a number.
std::optional<Bill> waybillFor(
    const Bill& base, const Receiver& receiver, QString* reason = nullptr);

/// Why a receiver's waybill cannot be printed on the base: no recipient, or figures that are
/// not a number; empty when it can.
QString whyNotPrintable(const Bill& base, const Receiver& receiver);

/// The n-th number (from 0) of a series that starts at `first` and goes up by `step`: the
/// digits at the end count, the text before them and their width stay ("SF0099", 1, 1 gives
/// "SF0100"). Empty when `first` does not end in digits.
QString numberInSeries(const QString& first, qint64 step, int n);

struct WaybillBatchOptions
{
    bool save = false; ///< every waybill printed becomes a row of the waybill table
    QString firstNumber {}; ///< empty: the numbers stay as the base and the rows give them
    qint64 step = 1;
};

struct WaybillBatchOutcome
{
    int printed = 0;
    int saved = 0;
    bool cancelled = false;
    bool delivered = false; ///< the spooler accepted the job; nothing is saved otherwise
    QList<std::pair<int, QString>> refused; ///< index of the receiver, and why
    QList<int> serials; ///< the rows saved
};

/// Prints one waybill a page for every usable receiver on the print job the caller has begun,
/// asking `goOn` before each waybill after the first, and ends the job. The waybills to save
/// are written in one transaction before the job is ended, and committed only when the
/// spooler has accepted it: a job that fails leaves no row. Throws DbError, the job dropped.
WaybillBatchOutcome printWaybills(Services& services, const Bill& base,
    const QList<Receiver>& receivers, const WaybillBatchOptions& options, int xMove, int yMove,
    const std::function<bool(int done)>& goOn = {});

} // namespace pennock::core
