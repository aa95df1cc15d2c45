#pragma once

namespace pennock::ui {

/// What the main window asks of an open bill form about its template.
class TemplatedForm
{
public:
    virtual ~TemplatedForm() = default;
    /// Identity of the template the form shows (its tag); 0 or less for none.
    virtual int templateTag() const = 0;
    /// Forgets the laid-out template and lays it out again, so layout changes show at once.
    virtual void reinitTemplate() = 0;
};

} // namespace pennock::ui
