#pragma once

#include <QString>

namespace pennock::core {

/// Message boxes that wait for a person; tests script them.
class Prompter
{
public:
    virtual ~Prompter() = default;
    /// An information box with an OK button.
    virtual void inform(const QString& text, const QString& caption = {}) = 0;
    /// An error box with an OK button.
    virtual void warn(const QString& text, const QString& caption = {}) = 0;
    /// A question with Yes and No; true for Yes.
    virtual bool ask(const QString& text, const QString& caption = {}) = 0;
};

/// For headless runs: messages go to standard error, every question is answered No.
class ConsolePrompter final : public Prompter
{
public:
    void inform(const QString& text, const QString& caption = {}) override;
    void warn(const QString& text, const QString& caption = {}) override;
    bool ask(const QString& text, const QString& caption = {}) override;
};

} // namespace pennock::core
