#include "platform/Prompter.h"

#include <cstdio>

namespace pennock::core {

namespace {
void printLine(const QString& caption, const QString& text)
{
    const QString line = caption.isEmpty() ? text : caption + QStringLiteral(": ") + text;
    std::fprintf(stderr, "%s\n", line.toUtf8().constData());
}
} // namespace

void ConsolePrompter::inform(const QString& text, const QString& caption)
{
    printLine(caption, text);
}

void ConsolePrompter::warn(const QString& text, const QString& caption)
{
    printLine(caption, text);
}

bool ConsolePrompter::ask(const QString& text, const QString& caption)
{
    printLine(caption, text + QStringLiteral(" [No]"));
    return false;
}

} // namespace pennock::core
