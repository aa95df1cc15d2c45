#include "settings/FacedDialog.h"

#include "settings/FormPlacement.h"

namespace pennock::ui {

FacedDialog::FacedDialog(core::Settings& settings, QWidget* parent)
    : QDialog(parent)
    , mFaceSettings(settings)
{
}

void FacedDialog::showEvent(QShowEvent* event)
{
    if (!mFaceLoaded) {
        mFaceLoaded = true;
        FormFaceLoad(mFaceSettings, this);
        faceLoaded();
    }
    QDialog::showEvent(event);
}

void FacedDialog::done(int result)
{
    FormFaceSave(mFaceSettings, this);
    QDialog::done(result);
}

} // namespace pennock::ui
