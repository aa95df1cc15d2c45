#include "app/CliCommands.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <memory>

int main(int argc, char** argv)
{
    // Printing needs fonts, and fonts a graphical application, but no display and no widgets.
    // The other commands start without one.
    const bool prints = argc > 1
        && (std::strcmp(argv[1], "print") == 0 || std::strcmp(argv[1], "print-template") == 0
            || std::strcmp(argv[1], "batch") == 0 || std::strcmp(argv[1], "calibrate") == 0);
    if (prints && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app;
    if (prints)
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
