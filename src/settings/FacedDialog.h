#pragma once

#include <QDialog>

namespace pennock::core {
class Settings;
}

namespace pennock::ui {

/// A dialog that takes its remembered size in "Config.ini" when it is first shown and
/// remembers it on every way out, Escape included.
class FacedDialog : public QDialog
{
public:
    FacedDialog(core::Settings& settings, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    /// Runs once, right after the remembered size was applied.
    virtual void faceLoaded() { }

private:
    core::Settings& mFaceSettings;
    bool mFaceLoaded = false;
};

} // namespace pennock::ui
