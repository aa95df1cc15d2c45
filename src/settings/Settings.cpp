#include "settings/Settings.h"

#include "platform/Prompter.h"
#include "store/Database.h"
#include "store/ProgramFolder.h"
#include "store/TemplateKind.h"

#include <QDir>
#include <QFileInfo>

namespace pennock::core {

namespace {
const QString kConfigSection = QStringLiteral("Config");
const QString kCheckConfig = QStringLiteral("CheckConfig");
const QString kViewSections[] = {
    QStringLiteral("view"),
    QStringLiteral("viewx"),
    QStringLiteral("viewy"),
    QStringLiteral("viewh"),
    QStringLiteral("vieww"),
    QStringLiteral("viewv"),
    QStringLiteral("viewdv"),
};
} // namespace

Settings::Settings(Database& db, const ProgramFolder& folder, Prompter& prompter)
    : mDb(db)
    , mFolder(folder)
    , mPrompter(prompter)
{
}

Settings::~Settings() = default;

QString Settings::getConfigByname(const QString& key)
{
    try {
        return mDb
            .scalar(QStringLiteral(
                        "select cvalue from configtable where ltrim(rtrim(cname))=? collate nocase "
                        "limit 1"),
                { key })
            .toString();
    } catch (const DbError&) {
        return {};
    }
}

bool Settings::setConfigByname(const QString& key, const QString& value)
{
    try {
        // Exact key on update: a stored key with blanks around it is read but not updated.
        const int updated = mDb.execute(
            QStringLiteral("update configtable set cvalue=? where cname=?"), { value, key });
        if (updated == 0)
            mDb.execute(QStringLiteral("insert into configtable (cvalue, cname) values (?, ?)"),
                { value, key });
        return true;
    } catch (const DbError&) {
        return false;
    }
}

bool Settings::isYes(const QString& value)
{
    const QString v = value.trimmed();
    return v.compare(QStringLiteral("yes"), Qt::CaseInsensitive) == 0 || v == u"1";
}

IniFile& Settings::OpenUserIniFile()
{
    if (mUserIni)
        mUserIni->flush();
    mUserIni = std::make_unique<IniFile>(mFolder.configIniPath());
    return *mUserIni;
}

IniFile& Settings::userIni() { return mUserIni ? *mUserIni : OpenUserIniFile(); }

IniFile& Settings::OpenDebugInif()
{
    if (mDebugIni)
        mDebugIni->flush();
    mDebugIni = std::make_unique<IniFile>(mFolder.debugIniPath());
    return *mDebugIni;
}

QString Settings::getINIConfigByname(const QString& key)
{
    return userIni().readString(kConfigSection, key);
}

void Settings::setINIConfigByname(const QString& key, const QString& value)
{
    userIni().writeString(kConfigSection, key, value);
    userIni().flush();
}

void Settings::DebugOutN(const QString& tag, const QString& text)
{
    ++mDebugCounter;
    DebugOut(tag + QLatin1Char('-') + QString::number(mDebugCounter), text);
}

void Settings::DebugOut(const QString& key, const QString& text)
{
    IniFile& debug = mDebugIni ? *mDebugIni : OpenDebugInif();
    debug.writeString(QStringLiteral("debug"), key, text);
    debug.flush();
}

bool Settings::setCheckConfigByName(int templateId, const QString& name, const QString& value)
{
    try {
        const QVariant id = mDb.scalar(QStringLiteral("select ID from DMTable where CheckTypeID=? "
                                                      "and ucase(DMName)=? order by ID limit 1"),
            { templateId, name.toUpper() });
        if (id.isValid())
            mDb.execute(QStringLiteral("update DMTable set DMValue=? where ID=?"), { value, id });
        else
            mDb.execute(QStringLiteral("insert into DMTable (CheckTypeID, DMName, DMValue) "
                                       "values (?, ?, ?)"),
                { templateId, name, value });
        return true;
    } catch (const DbError& e) {
        mPrompter.warn(name + QStringLiteral("设置模板参数错误:") + e.message());
        return false;
    }
}

QString Settings::getInifCheckConfigByName(const IniFile* cache, const QString& name)
{
    return cache ? cache->readString(kCheckConfig, name) : QString();
}

QString Settings::checkIniPath(int templateId) const
{
    return mFolder.checkIniFolder() + QLatin1Char('/') + QString::number(templateId)
        + QStringLiteral(".ini");
}

std::unique_ptr<IniFile> Settings::OpenCheckInif(int templateId)
{
    try {
        const QVariant built = mDb.scalar(
            QStringLiteral("select IniFile from CKTypeTable where CheckTypeID=? and IniFile<>'' "
                           "and IniFile is not null"),
            { templateId });
        if (!built.isValid() || !QFileInfo::exists(checkIniPath(templateId)))
            buildCheckIniFile(templateId);
    } catch (const DbError&) {
        return nullptr;
    }
    if (!QDir().mkpath(mFolder.checkIniFolder()))
        return nullptr;
    auto cache = std::make_unique<IniFile>(checkIniPath(templateId));
    if (!cache->errorString().isEmpty())
        return nullptr;
    return cache;
}

void Settings::buildCheckIniFile(int templateId)
{
    if (!QDir().mkpath(mFolder.checkIniFolder()))
        return;
    IniFile cache(checkIniPath(templateId));
    for (const QString& section : kViewSections)
        cache.eraseSection(section);
    cache.eraseSection(kCheckConfig);
    try {
        const QString kind = loadCheckTypeFirstNameByID(mDb, templateId);
        QString names;
        QSqlQuery items = mDb.exec(QStringLiteral("select CtlName from NameDict where "
                                                  "CheckTypeName=? order by ID"),
            { kind });
        while (items.next())
            names += items.value(0).toString() + QLatin1Char(',');
        cache.writeString(QStringLiteral("view"), QStringLiteral("ConfigItems"), names);

        QSqlQuery layout = mDb.exec(
            QStringLiteral("select ucase(CtlName), SrcX, SrcY, SrcH, SrcW, NeedShow, InitValue "
                           "from CKControl where CheckTypeID=? order by ID"),
            { templateId });
        static const QString suffixes[]
            = { QStringLiteral(".x"), QStringLiteral(".y"), QStringLiteral(".h"),
                  QStringLiteral(".w"), QStringLiteral(".v"), QStringLiteral(".dv") };
        while (layout.next()) {
            const QString name = layout.value(0).toString();
            for (int i = 0; i < 6; ++i)
                cache.writeString(
                    kViewSections[i + 1], name + suffixes[i], layout.value(i + 1).toString());
        }

        QSqlQuery options
            = mDb.exec(QStringLiteral("select DMName, DMValue from DMTable where "
                                      "CheckTypeID=? and DMName like 'cfg%' order by ID"),
                { templateId });
        while (options.next())
            cache.writeString(
                kCheckConfig, options.value(0).toString(), options.value(1).toString());
        if (!cache.flush())
            return;
        mDb.execute(QStringLiteral("update CKTypeTable set IniFile=? where CheckTypeID=?"),
            { QString::number(templateId) + QStringLiteral(".ini"), templateId });
    } catch (const DbError&) {
        // The file keeps what was written; IniFile stays empty so the next open rebuilds it.
        cache.flush();
    }
}

} // namespace pennock::core
