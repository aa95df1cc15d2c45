#pragma once

#include <QWidget>

class QLabel;
class QTimer;

namespace pennock::core {
class ProgramFolder;
class Prompter;
} // namespace pennock::core

namespace pennock::ui {

/// The start-up picture: a borderless window in the middle of the screen for half a second.
class Tfm_Boot : public QWidget
{
    Q_OBJECT
public:
    explicit Tfm_Boot(const core::ProgramFolder& folder, QWidget* parent = nullptr);

    /// Shows the picture and keeps the program responsive until the timer fired once, then hides.
    void run();

    bool hasPicture() const;
    const QTimer* timer() const { return mTimer; }

private:
    QLabel* mPicture;
    QTimer* mTimer;
};

/// Brings an installation of an earlier release to the current layout before anything else opens
/// it and says what changed. False, after saying why, when it failed: the files are as they
/// were and the program must not go on.
bool runStartUpUpgrade(const core::ProgramFolder& folder, core::Prompter& prompter);

} // namespace pennock::ui
