#include "bills/BillFormRegistry.h"

#include "bills/TemplatedForm.h"
#include "platform/Prompter.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace pennock::ui {

namespace {
class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};
} // namespace

BillFormRegistry::BillFormRegistry(QMdiArea* area, core::Prompter& prompter, QObject* parent)
    : QObject(parent)
    , mArea(area)
    , mPrompter(prompter)
{
}

BillFormRegistry::~BillFormRegistry()
{
    // Forms outliving the registry must not call back into it.
    for (QWidget* form : std::as_const(mOpen))
        disconnect(form, nullptr, this, nullptr);
}

void BillFormRegistry::registerForm(
    const QString& kind, const QString& className, bool opensBesideOthers, Factory create)
{
    if (Entry* entry = find(kind)) {
        entry->className = className;
        entry->beside = opensBesideOthers;
        entry->create = std::move(create);
    } else {
        mEntries.push_back({ kind, className, opensBesideOthers, std::move(create), {}, {} });
    }
    emit formRegistered(kind);
}

bool BillFormRegistry::isRegistered(const QString& kind) const { return find(kind) != nullptr; }

QString BillFormRegistry::className(const QString& kind) const
{
    const Entry* entry = find(kind);
    return entry ? entry->className : QString();
}

QStringList BillFormRegistry::kinds() const
{
    QStringList out;
    for (const Entry& entry : mEntries)
        out << entry.kind;
    return out;
}

bool BillFormRegistry::opensBesideOthers(const QString& kind) const
{
    const Entry* entry = find(kind);
    return entry && entry->beside;
}

QWidget* BillFormRegistry::form(const QString& kind) const
{
    const Entry* entry = find(kind);
    return entry ? entry->form.data() : nullptr;
}

QWidget* BillFormRegistry::open(const QString& kind, bool beside)
{
    Entry* entry = find(kind);
    if (!entry || !entry->create)
        return nullptr;
    if (!beside && !entry->beside && anyOpen()) {
        mPrompter.inform(QStringLiteral("请先关闭打开的单据！"), QStringLiteral("提示"));
        return nullptr;
    }
    WaitCursor wait;
    if (!entry->form) {
        QWidget* form = entry->create();
        if (!form)
            return nullptr;
        form->setAttribute(Qt::WA_DeleteOnClose);
        entry->form = form;
        entry->window = mArea->addSubWindow(form);
        mOpen.append(form);
        connect(form, &QObject::destroyed, this, [this, form] { forget(form); });
        emit openFormsChanged();
    }
    entry->window->show();
    entry->form->show();
    mArea->setActiveSubWindow(entry->window);
    return entry->form;
}

void BillFormRegistry::closeAll()
{
    const QList<QWidget*> forms = mOpen;
    for (QWidget* form : forms) {
        Entry* entry = nullptr;
        for (Entry& e : mEntries)
            if (e.form == form)
                entry = &e;
        QWidget* window = form;
        if (entry && entry->window)
            window = entry->window;
        // Closing only schedules the deletion; the form counts as gone once it agreed to close.
        // The frame is forgotten first: it is half destroyed when its form reports going.
        if (window->close()) {
            if (entry)
                entry->window.clear();
            delete window;
        }
    }
}

int BillFormRegistry::templateForDesign()
{
    QWidget* top = nullptr;
    const QList<QMdiSubWindow*> stack = mArea->subWindowList(QMdiArea::StackingOrder);
    for (auto it = stack.crbegin(); it != stack.crend() && !top; ++it)
        if (mOpen.contains((*it)->widget()))
            top = (*it)->widget();
    if (!top && !mOpen.isEmpty())
        top = mOpen.last();
    if (const auto* templated = dynamic_cast<const TemplatedForm*>(top))
        if (templated->templateTag() > 0)
            mCurrentTemplateId = templated->templateTag();
    return mCurrentTemplateId;
}

void BillFormRegistry::relayoutAll()
{
    for (QWidget* form : std::as_const(mOpen))
        if (auto* templated = dynamic_cast<TemplatedForm*>(form))
            templated->reinitTemplate();
}

BillFormRegistry::Entry* BillFormRegistry::find(const QString& kind)
{
    for (Entry& entry : mEntries)
        if (entry.kind == kind)
            return &entry;
    return nullptr;
}

const BillFormRegistry::Entry* BillFormRegistry::find(const QString& kind) const
{
    return const_cast<BillFormRegistry*>(this)->find(kind);
}

void BillFormRegistry::forget(QWidget* form)
{
    mOpen.removeAll(form);
    mCurrentTemplateId = -1;
    for (Entry& entry : mEntries) {
        // The guarded pointer may still show the form while it is being destroyed.
        if (entry.form.data() != form && (entry.form || !entry.window))
            continue;
        entry.form.clear();
        if (entry.window)
            entry.window->deleteLater(); // the empty frame follows its form
        entry.window.clear();
    }
    emit openFormsChanged();
}

} // namespace pennock::ui
