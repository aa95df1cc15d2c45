#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

namespace pennock::core {

/// Windows font faces that templates name, with the installed CJK family that stands in for
/// each: "宋体" and its kin print in Noto Serif CJK SC, "黑体" and its kin in Noto Sans CJK SC.
const QList<std::pair<QString, QString>>& printFontSubstitutions();

/// Registers the substitutions with Qt's font matching. The program and the tests call it once
/// at start; calling it again changes nothing.
void installPrintFontSubstitutions();

} // namespace pennock::core
