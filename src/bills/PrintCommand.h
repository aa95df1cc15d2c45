#pragma once

#include "platform/Prompter.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <utility>

namespace pennock::core {

class BillDraft;
class PdfCanvas;
class Services;

/// Every box a command would show becomes a line of the command's complaint.
class CollectingPrompter final : public Prompter
{
public:
    void inform(const QString& text, const QString& = {}) override { mTexts << text; }
    void warn(const QString& text, const QString& = {}) override { mTexts << text; }
    bool ask(const QString& text, const QString& = {}) override
    {
        mTexts << text;
        return false;
    }
    QStringList take() { return std::exchange(mTexts, {}); }

private:
    QStringList mTexts;
};

/// The `--set CONTROL=VALUE` assignments of a command line. Throws CliError.
QStringList cliSetAssignments(const QString& command, const QStringList& args);
/// One assignment to a bill filled without a window: an option, the currency, a user check box
/// or a control, by the rules of the kind's form. Throws CliError.
void applyCliSet(
    BillDraft& draft, Services& services, const QString& assignment, const QString& command);
/// Refuses a print command without exactly one of --pdf and --printer, without an
/// installation in `home` or without a graphical application object. Throws CliError.
void checkCliPrinting(
    const QString& home, const QString& pdf, const QString& printer, const QString& command);
/// Opens a draft on a template variant (the default one when empty). Throws CliError when the
/// kind has no such template.
void openCliDraft(
    BillDraft& draft, CollectingPrompter& prompter, const QString& variant, const QString& command);
/// The canvas of a command's print job: a PDF of the template's paper, or the named printer.
/// Throws CliError when there is no such printer.
std::unique_ptr<PdfCanvas> openCliCanvas(Services& services, int templateId, const QString& pdf,
    const QString& printer, const QString& jobTitle, QString& destination, const QString& command);

/// `print --home DIR --kind KIND [--template VARIANT] [--set CONTROL=VALUE]... [--amount AMOUNT]
/// [--date YYYY-MM-DD] [--copies N] (--pdf OUT.pdf | --printer NAME) [--save]`: fills a bill of a
/// kind by the rules of its form, without a window, prints it and with `--save` stores it.
/// Needs a GUI application object (fonts). Throws CliError.
QString runPrint(const QStringList& args);

} // namespace pennock::core
