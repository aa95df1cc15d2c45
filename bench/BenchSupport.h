#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>

#include <benchmark/benchmark.h>

#include <type_traits>

namespace pennock::bench {

/// Resident memory of this process in MB, from /proc/self/status; -1 when it cannot be read.
inline double residentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return -1;
}

/// The main of a benchmark program: its benchmarks run inside an application object of type
/// `App`; a graphical one needs no display.
template <class App> int runBenchmarks(int argc, char** argv)
{
    if constexpr (!std::is_same_v<App, QCoreApplication>)
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    App app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace pennock::bench
