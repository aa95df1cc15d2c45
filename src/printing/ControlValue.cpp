#include "printing/ControlValue.h"

#include "platform/Prompter.h"
#include "settings/Settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace pennock::ui {

namespace {

bool isForm(const QWidget* widget)
{
    return widget->isWindow() || qobject_cast<const QMdiSubWindow*>(widget->parentWidget());
}

// The form a panel sits on: the nearest window or document window above it.
QWidget* formOf(QWidget* panel)
{
    for (QWidget* w = panel->parentWidget(); w; w = w->parentWidget())
        if (isForm(w))
            return w;
    return nullptr;
}

QWidget* findNamed(QWidget* parent, const QString& name, Qt::FindChildOptions options)
{
    const QList<QWidget*> children = parent->findChildren<QWidget*>(QString(), options);
    for (QWidget* child : children)
        if (child->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return child;
    return nullptr;
}

} // namespace

QString getControlValue(
    QWidget* container, const QString& itemName, core::Settings& settings, core::Prompter& prompter)
{
    if (itemName.isEmpty() || !container)
        return {};
    QWidget* control = nullptr;
    if (isForm(container)) {
        control = findNamed(container, itemName, Qt::FindDirectChildrenOnly);
    } else {
        control = findNamed(container, itemName, Qt::FindDirectChildrenOnly);
        if (!control)
            if (QWidget* form = formOf(container))
                control = findNamed(form, itemName, Qt::FindChildrenRecursively);
    }
    if (!control) {
        settings.DebugOutN(
            QStringLiteral("getControlValue"), itemName + QStringLiteral("=nil  not found."));
        return {};
    }
    // Hidden on the form means not printed.
    if (control->isHidden())
        return {};
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        return edit->text();
    if (auto* memo = qobject_cast<QPlainTextEdit*>(control))
        return memo->toPlainText();
    if (auto* memo = qobject_cast<QTextEdit*>(control))
        return memo->toPlainText();
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return combo->currentText();
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text();
    if (auto* check = qobject_cast<QCheckBox*>(control))
        return check->isChecked() ? QStringLiteral("√") : QString();
    prompter.warn(QStringLiteral("getControlValue: 不能取值的控件类型 ")
        + QString::fromLatin1(control->metaObject()->className()));
    return {};
}

} // namespace pennock::ui
