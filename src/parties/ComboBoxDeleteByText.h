#pragma once

#include <QString>

class QComboBox;

namespace pennock::ui {

/// Removes every item of the box whose text equals `text`.
void ComboBoxDeleteByText(QComboBox* box, const QString& text);

} // namespace pennock::ui
