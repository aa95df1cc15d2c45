#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

namespace pennock::test {

void ScriptedPrompter::inform(const QString& text, const QString& caption)
{
    mEntries.append({ QStringLiteral("inform"), caption, text });
}

void ScriptedPrompter::warn(const QString& text, const QString& caption)
{
    mEntries.append({ QStringLiteral("warn"), caption, text });
}

bool ScriptedPrompter::ask(const QString& text, const QString& caption)
{
    mEntries.append({ QStringLiteral("ask"), caption, text });
    if (mAnswers.isEmpty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return false;
    }
    return mAnswers.takeFirst();
}

QStringList ScriptedPrompter::texts() const
{
    QStringList out;
    for (const Entry& e : mEntries)
        out << e.text;
    return out;
}

} // namespace pennock::test
