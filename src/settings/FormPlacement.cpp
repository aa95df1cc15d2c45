#include "settings/FormPlacement.h"

#include "platform/Prompter.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "store/Database.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextEdit>
#include <QWidget>

namespace pennock::ui {

namespace {
QWidget* findChildNoCase(QWidget* form, const QString& name)
{
    const auto children = form->findChildren<QWidget*>();
    for (QWidget* child : children)
        if (child->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return child;
    return nullptr;
}

bool isNormal(const QWidget* form)
{
    return !(
        form->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
}
} // namespace

QString formSection(const QWidget* form) { return form->objectName().toUpper(); }

void setFormControlsPosition(core::Database& db, core::Prompter& prompter, const QString& kind,
    QWidget* form, const core::IniFile* cache)
{
    if (!form || !cache)
        return;
    try {
        QSqlQuery q = db.exec(QStringLiteral("select CtlName from NameDict where CheckTypeName=? "
                                             "order by ID"),
            { kind });
        while (q.next())
            setFormCtlPositionFromIni(q.value(0).toString(), cache, form);
    } catch (const core::DbError& e) {
        prompter.warn(QStringLiteral("调入项目参数失败!") + e.message());
    }
}

void setFormCtlPositionFromIni(const QString& name, const core::IniFile* cache, QWidget* form)
{
    if (!cache || !form)
        return;
    QWidget* control = findChildNoCase(form, name);
    if (!control)
        return;
    const QString key = name.toUpper();
    const int x = cache->readInteger(QStringLiteral("viewx"), key + QStringLiteral(".x"), 30);
    const int y = cache->readInteger(QStringLiteral("viewy"), key + QStringLiteral(".y"), 25);
    const int w = cache->readInteger(QStringLiteral("vieww"), key + QStringLiteral(".w"), 45);
    const int h = cache->readInteger(QStringLiteral("viewh"), key + QStringLiteral(".h"), 18);
    const int v = cache->readInteger(QStringLiteral("viewv"), key + QStringLiteral(".v"), 0);
    const QString dv = cache->readString(QStringLiteral("viewdv"), key + QStringLiteral(".dv"));
    if (v != 0) {
        control->setGeometry(x, y, w, h);
        control->show();
    } else {
        control->hide();
    }
    if (dv.isEmpty())
        return;
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->setText(dv);
    else if (auto* combo = qobject_cast<QComboBox*>(control))
        combo->setEditText(dv);
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(control))
        memo->setPlainText(dv);
    else if (auto* rich = qobject_cast<QTextEdit*>(control))
        rich->setPlainText(dv);
    else if (auto* check = qobject_cast<QCheckBox*>(control))
        check->setChecked(true); // any stored value ticks it, even "0"
}

void FormFaceSave(core::Settings& settings, QWidget* form)
{
    if (!form || !isNormal(form))
        return;
    core::IniFile& ini = settings.userIni();
    ini.writeString(formSection(form), QStringLiteral("FormWidth"), QString::number(form->width()));
    ini.writeString(
        formSection(form), QStringLiteral("FormHeight"), QString::number(form->height()));
    ini.flush();
}

void FormFaceLoad(core::Settings& settings, QWidget* form)
{
    if (!form || !isNormal(form))
        return;
    core::IniFile& ini = settings.userIni();
    int w = ini.readInteger(formSection(form), QStringLiteral("FormWidth"), form->width());
    int h = ini.readInteger(formSection(form), QStringLiteral("FormHeight"), form->height());
    if (const QScreen* screen = form->screen()) {
        w = std::min(w, screen->size().width());
        h = std::min(h, screen->size().height());
    }
    form->resize(w, h);
}

void centreAcrossScreen(QWidget* form, int top)
{
    if (const QScreen* screen = form->screen()) {
        const QRect area = screen->availableGeometry();
        form->move(area.x() + (area.width() - form->width()) / 2, top);
    }
}

} // namespace pennock::ui
