#pragma once

#include <QString>

class QWidget;

namespace pennock::ui {

class BillFormRegistry;
struct BillEnvironment;
class TfmBillForm;

/// Makes every bill kind whose form exists available to the main window's commands. The
/// environment must outlive the registry's forms.
void registerBillKinds(BillFormRegistry& registry, BillEnvironment& env);

/// A new form of a kind, or null when the kind has no form or no usable template.
TfmBillForm* createBillForm(const QString& kind, BillEnvironment& env, QWidget* parent = nullptr);

} // namespace pennock::ui
