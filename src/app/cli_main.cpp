#include "app/CliCommands.h"

#include <QApplication>

#include <cstdio>
#include <cstring>
#include <memory>

int main(int argc, char **argv)
{
    // Printing needs fonts, and fonts a graphical application; a bill is filled through its
    // form, which needs widgets. Neither needs a display. The other commands start without one.
    const bool printsBill = argc > 1 && std::strcmp(argv[1], "print") == 0;
    const bool printsTemplate = argc > 1 && std::strcmp(argv[1], "print-template") == 0;
    if ((printsBill || printsTemplate) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app;
    if (printsBill)
        app = std::make_unique<QApplication>(argc, argv);
    else if (printsTemplate)
        app = std::make_unique<QGuiApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pennock-cli"));
    const auto result = pennock::core::runCli(QCoreApplication::arguments().mid(1));
    const QByteArray out = result.out.toUtf8();
    const QByteArray err = result.err.toUtf8();
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    std::fwrite(err.constData(), 1, size_t(err.size()), stderr);
    return result.exitCode;
}
