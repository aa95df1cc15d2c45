#include "settings/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

// The Debian library is built with the ICU converter; the header must agree.
#define SI_CONVERT_ICU
#include <SimpleIni.h>

#include <list>
#include <string>

namespace pennock::core {

struct IniFile::Impl
{
    CSimpleIniA ini { true, false, false };
};

namespace {
std::string utf8(const QString& text) { return text.toStdString(); }
} // namespace

IniFile::IniFile(QString path)
    : mImpl(std::make_unique<Impl>())
    , mPath(std::move(path))
{
    QFile file(mPath);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        mError = QStringLiteral("无法读取 %1：%2").arg(mPath, file.errorString());
        return;
    }
    const QByteArray data = file.readAll();
    if (mImpl->ini.LoadData(data.constData(), size_t(data.size())) < 0)
        mError = QStringLiteral("无法解析 %1").arg(mPath);
}

IniFile::~IniFile()
{
    if (mDirty)
        flush();
}

QString IniFile::readString(const QString& section, const QString& key, const QString& def) const
{
    const char* value = mImpl->ini.GetValue(utf8(section).c_str(), utf8(key).c_str(), nullptr);
    if (!value)
        return def;
    return QString::fromUtf8(value).trimmed();
}

int IniFile::readInteger(const QString& section, const QString& key, int def) const
{
    bool ok = false;
    const int value = readString(section, key).toInt(&ok);
    return ok ? value : def;
}

bool IniFile::hasKey(const QString& section, const QString& key) const
{
    return mImpl->ini.GetValue(utf8(section).c_str(), utf8(key).c_str(), nullptr) != nullptr;
}

QStringList IniFile::keys(const QString& section) const
{
    CSimpleIniA::TNamesDepend names;
    mImpl->ini.GetAllKeys(utf8(section).c_str(), names);
    names.sort(CSimpleIniA::Entry::LoadOrder());
    QStringList out;
    for (const auto& name : names)
        out << QString::fromUtf8(name.pItem);
    return out;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value)
{
    mImpl->ini.SetValue(utf8(section).c_str(), utf8(key).c_str(), utf8(value).c_str());
    mDirty = true;
}

void IniFile::eraseSection(const QString& section)
{
    if (mImpl->ini.Delete(utf8(section).c_str(), nullptr))
        mDirty = true;
}

bool IniFile::flush()
{
    std::string text;
    if (mImpl->ini.Save(text, false) < 0) {
        mError = QStringLiteral("无法生成 %1").arg(mPath);
        return false;
    }
    QDir().mkpath(QFileInfo(mPath).absolutePath());
    QSaveFile file(mPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), qint64(text.size())) < 0
        || !file.commit()) {
        mError = QStringLiteral("无法写入 %1：%2").arg(mPath, file.errorString());
        return false;
    }
    mError.clear();
    mDirty = false;
    return true;
}

} // namespace pennock::core
