#include "app/Cli.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pennock-cli"));
    const auto result = pennock::core::runCli(QCoreApplication::arguments().mid(1));
    const QByteArray out = result.out.toUtf8();
    const QByteArray err = result.err.toUtf8();
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    std::fwrite(err.constData(), 1, size_t(err.size()), stderr);
    return result.exitCode;
}
