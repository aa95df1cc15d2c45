#pragma once

#include <QString>
#include <QStringList>

namespace pennock::core {

/// `calibrate --home DIR --printer NAME [--template ID] (--sheet OUT.pdf | --measured
/// X1,Y1,X2,Y2 | --reset)`: writes the calibration sheet of a paper size (the template's, else
/// A4) and names its marks; computes and stores a printer's calibration from the marks measured
/// on the printed sheet (mm from the paper's left and top edges); or removes it. Throws CliError.
QString runCalibrate(const QStringList& args);

} // namespace pennock::core
