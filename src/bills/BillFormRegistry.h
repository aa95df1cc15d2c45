#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace pennock::core {
class Prompter;
}

namespace pennock::ui {

/// The bill form classes by kind ("支票", "电汇单", …) and their open instances: at most one per
/// kind, each a child window of the main window's document area. Holds the current template
/// identity, -1 while no bill form is open.
class BillFormRegistry : public QObject
{
    Q_OBJECT
public:
    using Factory = std::function<QWidget*()>;

    BillFormRegistry(QMdiArea* area, core::Prompter& prompter, QObject* parent = nullptr);
    ~BillFormRegistry() override;

    /// Makes a kind's form class available; `create` builds an instance when none is open.
    /// A kind that opens beside others opens even while another bill form is open.
    void registerForm(
        const QString& kind, const QString& className, bool opensBesideOthers, Factory create);
    bool isRegistered(const QString& kind) const;
    /// Form class name of a registered kind; empty otherwise.
    QString className(const QString& kind) const;
    QStringList kinds() const;

    /// The kind opens even while another bill form is open.
    bool opensBesideOthers(const QString& kind) const;

    /// The open instance of a kind, or null.
    QWidget* form(const QString& kind) const;
    /// Open forms in the order they were opened.
    QList<QWidget*> openForms() const { return mOpen; }
    bool anyOpen() const { return !mOpen.isEmpty(); }

    /// Shows the kind's form (creating it when none exists) unless another bill form is open and
    /// the kind must wait for it: then "请先关闭打开的单据！" and null. `beside`: another form
    /// opens it next to itself, without waiting. Null for an unknown kind.
    QWidget* open(const QString& kind, bool beside = false);
    /// Closes every open bill form; one that refuses to close stays open.
    void closeAll();

    int currentTemplateId() const noexcept { return mCurrentTemplateId; }
    /// Bill forms call this when they load a template.
    void setCurrentTemplateId(int id) noexcept { mCurrentTemplateId = id; }

    /// Before design mode: the template of the topmost bill form becomes current when it has
    /// one. Returns the current template identity.
    int templateForDesign();
    /// After design mode: every open bill form lays its template out again.
    void relayoutAll();

signals:
    void formRegistered(const QString& kind);
    void openFormsChanged();

private:
    struct Entry
    {
        QString kind;
        QString className;
        bool beside = false;
        Factory create;
        QPointer<QWidget> form;
        QPointer<QMdiSubWindow> window;
    };

    Entry* find(const QString& kind);
    const Entry* find(const QString& kind) const;
    void forget(QWidget* form);

    QMdiArea* mArea;
    core::Prompter& mPrompter;
    std::vector<Entry> mEntries;
    QList<QWidget*> mOpen;
    int mCurrentTemplateId = -1;
};

} // namespace pennock::ui
