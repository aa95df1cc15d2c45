#pragma once

#include "platform/Prompter.h"

#include <QList>
#include <QString>

namespace pennock::test {

/// Records every message and answers questions from a queue; a question with nothing queued
/// fails the test.
class ScriptedPrompter final : public core::Prompter
{
public:
    struct Entry
    {
        QString kind; ///< "inform", "warn" or "ask"
        QString caption;
        QString text;
    };

    void queueAnswer(bool yes) { mAnswers.append(yes); }
    void inform(const QString& text, const QString& caption = {}) override;
    void warn(const QString& text, const QString& caption = {}) override;
    bool ask(const QString& text, const QString& caption = {}) override;

    const QList<Entry>& entries() const { return mEntries; }
    QStringList texts() const;
    void clear() { mEntries.clear(); }

private:
    QList<Entry> mEntries;
    QList<bool> mAnswers;
};

} // namespace pennock::test
