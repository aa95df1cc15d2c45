#pragma once

#include <QDialog>

class QLabel;
class QTimer;

namespace pennock::core {
class Shell;
}

namespace pennock::ui {

/// "关于": a borderless box above every window with the product, its version and the vendor's
/// contact; a click on the contact opens the vendor's home page, any click closes the box, and
/// it closes by itself after 15 seconds.
class Tfm_About : public QDialog
{
    Q_OBJECT
public:
    explicit Tfm_About(core::Shell& shell, QWidget* parent = nullptr);

    static constexpr int kWidth = 398;
    static constexpr int kHeight = 239;
    static constexpr int kCloseAfterMs = 15000;
    /// 14650176 as the product stores it: red 0x40, green 0x8B, blue 0xDF.
    static QColor background();
    /// "当前版本：" + the four-part version + "(H1)"
    static QString versionLine();

    QLabel* lbContact = nullptr;
    QTimer* closeTimer = nullptr;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    core::Shell& mShell;
};

} // namespace pennock::ui
