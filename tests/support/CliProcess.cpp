#include "support/CliProcess.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace pennock::test {

CliRun runCliProcess(const QStringList& args, const QProcessEnvironment& env)
{
    QProcess p;
    QProcessEnvironment all = QProcessEnvironment::systemEnvironment();
    for (const QString& key : env.keys())
        all.insert(key, env.value(key));
    p.setProcessEnvironment(all);
    p.start(QStringLiteral(PENNOCK_CLI_PATH), args);
    EXPECT_TRUE(p.waitForFinished(60000)) << args.join(' ').toStdString();
    return { p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
        QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError()) };
}

} // namespace pennock::test
