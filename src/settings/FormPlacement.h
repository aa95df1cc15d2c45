#pragma once

#include <QString>

class QWidget;

namespace pennock::core {
class Database;
class IniFile;
class Prompter;
class Settings;
} // namespace pennock::core

namespace pennock::ui {

/// Places every catalogue item control of a bill kind on `form` from a layout cache.
void setFormControlsPosition(core::Database& db, core::Prompter& prompter, const QString& kind,
    QWidget* form, const core::IniFile* cache);

/// Places, shows or hides one item control (found by name without regard to letter case) and
/// gives it its initial value.
void setFormCtlPositionFromIni(const QString& name, const core::IniFile* cache, QWidget* form);

/// Remembers a normal (not maximised or minimised) window's size in "Config.ini".
void FormFaceSave(core::Settings& settings, QWidget* form);
/// Gives a normal window its remembered size, no larger than the screen.
void FormFaceLoad(core::Settings& settings, QWidget* form);

/// Centres a window across its screen's free area, with its top at `top`.
void centreAcrossScreen(QWidget* form, int top);

/// The section name of a window: its object name in upper case.
QString formSection(const QWidget* form);

} // namespace pennock::ui
