#pragma once

#include "printing/PrinterCanvas.h"

#include <QObject>
#include <QPrinter>
#include <QSizeF>
#include <QStringList>

class QWidget;

namespace pennock::core {
class PrintEngine;
class Prompter;
class Settings;
} // namespace pennock::core

namespace pennock::ui {

class PrinterSetupDialog;

/// The printers of the main window: the installed printers in the platform's order, the current
/// printer the print engine draws on, and the bill printer the user bound.
class PrinterBinding : public QObject
{
    Q_OBJECT
public:
    /// Gives `engine` the canvas of the current printer, the platform's default to begin with.
    PrinterBinding(core::Settings& settings, core::Prompter& prompter, core::PrintEngine& engine,
        PrinterSetupDialog& dialog, const QStringList& printers, QObject* parent = nullptr);
    ~PrinterBinding() override;

    /// Names of the installed printers, as the platform lists them.
    static QStringList installedPrinters();

    const QStringList& printers() const noexcept { return mPrinters; }
    QPrinter& printer() noexcept { return mPrinter; }
    core::PrintCanvas& canvas() noexcept { return mCanvas; }
    /// Index of the current printer in the list; -1 while the platform's default is current.
    int currentIndex() const noexcept { return mIndex; }
    /// The name `setDefaultPrinter` selected last.
    const QString& rememberedName() const noexcept { return mRemembered; }

    /// Selects the bound printer: a blank name means the configuration value "DefaultPrinter";
    /// the first installed printer equal to it without regard to letter case becomes current.
    /// An empty name with several printers installed, or no match, changes nothing.
    void setDefaultPrinter(const QString& name);
    /// The printer dialog command: OK sets the engine's `printJobReady`, Cancel clears it.
    void PrinterConfigClick(QWidget* parent);
    /// The engine prints with the calibration stored for the printer in use.
    void applyCalibration();
    /// Prints the calibration sheet of that paper size (mm) on the chosen printer; an empty
    /// text when it was delivered, else why not. The printer's page settings are kept.
    QString printCalibrationSheet(const QSizeF& paperMm);

signals:
    /// The current printer changed to the printer at `index` of the list.
    void printerSelected(int index);

private:
    void follow(const QString& printerName);

    core::Settings& mSettings;
    core::Prompter& mPrompter;
    core::PrintEngine& mEngine;
    PrinterSetupDialog& mDialog;
    QStringList mPrinters;
    QPrinter mPrinter;
    PrinterCanvas mCanvas;
    int mIndex = -1;
    QString mRemembered;
};

} // namespace pennock::ui
