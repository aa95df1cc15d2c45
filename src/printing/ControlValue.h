#pragma once

#include <QString>

class QWidget;

namespace pennock::core {
class Prompter;
class Settings;
} // namespace pennock::core

namespace pennock::ui {

/// The text to print for an item of a bill form. `container` is the form's picture panel or
/// the form; the control is found by name without regard to letter case: among the panel's
/// children, else among everything on the panel's form; on a form among its children.
/// Edits, memos, combo boxes and labels give their text, a ticked check box "√"; a hidden or
/// unticked control gives nothing. A control that cannot be found is written to the debug log;
/// a control of another kind is reported as a programming error. Both give an empty text.
QString getControlValue(QWidget* container, const QString& itemName, core::Settings& settings,
    core::Prompter& prompter);

} // namespace pennock::ui
