#include "parties/ComboBoxDeleteByText.h"

#include <QComboBox>

namespace pennock::ui {

void ComboBoxDeleteByText(QComboBox* box, const QString& text)
{
    if (!box)
        return;
    for (int i = box->count() - 1; i >= 0; --i)
        if (box->itemText(i) == text)
            box->removeItem(i);
}

} // namespace pennock::ui
