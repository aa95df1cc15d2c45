#include "templates/TfrmBillImportExport.h"

#include "platform/FileChooser.h"
#include "platform/Prompter.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "store/Database.h"
#include "store/ProgramFolder.h"
#include "templates/ImageShow.h"
#include "templates/Package.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSqlQuery>
#include <QTabWidget>
#include <QVBoxLayout>

namespace pennock::ui {

namespace {

const QString kNotice = QStringLiteral("提示");
const QString kFilter = QStringLiteral("Pennock票据包(*.tpk *.pnk)");
const QString kPickedHint = QStringLiteral("鼠标双击查看单据样式");

// Moves one entry (the selected one, else the first) from one list to the end of the other.
bool moveOne(QListWidget* from, QListWidget* to)
{
    if (from->count() == 0)
        return false;
    QListWidgetItem* item = from->currentItem() ? from->currentItem() : from->item(0);
    to->addItem(from->takeItem(from->row(item)));
    return true;
}

} // namespace

TfrmBillImportExport::TfrmBillImportExport(core::Database& db, const core::ProgramFolder& folder,
    core::Settings& settings, core::Prompter& prompter, core::FileChooser& files, bool withExport,
    std::function<void()> download, QWidget* parent)
    : FacedDialog(settings, parent)
    , mDb(db)
    , mFolder(folder)
    , mSettings(settings)
    , mPrompter(prompter)
    , mFiles(files)
    , mDownload(std::move(download))
{
    setObjectName(QStringLiteral("frmBillImportExport"));
    setWindowTitle(QStringLiteral("导入、导出票据格式"));
    setMinimumSize(430, 500);
    resize(640, 520);
    auto* layout = new QVBoxLayout(this);
    mPages = new QTabWidget(this);
    mPages->setObjectName(QStringLiteral("PageControl1"));
    mPages->addTab(buildImportPage(), QStringLiteral("导入Pennock票据模板"));
    if (withExport) {
        mPages->addTab(buildExportPage(), QStringLiteral("导出Pennock票据模板"));
        connect(mPages, &QTabWidget::currentChanged, this, [this](int index) {
            if (index == 1)
                loadExistsChecks();
        });
    }
    layout->addWidget(mPages);
    setImportButtons(false);
}

QPushButton* TfrmBillImportExport::addButton(
    QWidget* owner, const QString& name, const QString& caption, const QString& hint)
{
    auto* b = new QPushButton(caption, owner);
    b->setObjectName(name);
    b->setAutoDefault(false);
    b->setToolTip(hint);
    mButtons << b;
    return b;
}

QPushButton* TfrmBillImportExport::button(const QString& name) const
{
    for (QPushButton* b : mButtons)
        if (b->objectName() == name)
            return b;
    return nullptr;
}

QWidget* TfrmBillImportExport::buildImportPage()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("panelImport"));
    auto* grid = new QGridLayout(page);
    grid->addWidget(
        new QLabel(QStringLiteral("1.请选择要导入的票据包来源(*.tpk)"), page), 0, 0, 1, 3);
    mImportFile = new QLineEdit(QStringLiteral("请选择票据包文件"), page);
    mImportFile->setObjectName(QStringLiteral("edtImportBillsFile"));
    mImportFile->setReadOnly(true);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(mImportFile, 1);
    QPushButton* browse
        = addButton(page, QStringLiteral("btBrowseImport"), QStringLiteral("浏览.."));
    connect(browse, &QPushButton::clicked, this, &TfrmBillImportExport::browseImport);
    fileRow->addWidget(browse);
    grid->addLayout(fileRow, 1, 0, 1, 3);

    grid->addWidget(new QLabel(QStringLiteral("2.票据包中的新格式（双击查看票据）."), page), 2, 0);
    grid->addWidget(new QLabel(QStringLiteral("3.选中了要导入的票据列表."), page), 2, 2);
    mFrom = new QListWidget(page);
    mFrom->setObjectName(QStringLiteral("lstImpFrom"));
    mFrom->setToolTip(kPickedHint);
    mChosen = new QListWidget(page);
    mChosen->setObjectName(QStringLiteral("lstImpSel"));
    mChosen->setToolTip(kPickedHint);
    for (QListWidget* list : { mFrom, mChosen })
        connect(list, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { showPackagePicture(item->text()); });
    grid->addWidget(mFrom, 3, 0);
    auto* moves = new QVBoxLayout;
    moves->addStretch();
    QPushButton* one = addButton(
        page, QStringLiteral("btImpSel"), QStringLiteral("->"), QStringLiteral("选中加入导入列表"));
    QPushButton* all = addButton(page, QStringLiteral("btImpSelAll"), QStringLiteral("->>"),
        QStringLiteral("全部加入导入列表"));
    QPushButton* clear = addButton(
        page, QStringLiteral("btImpClear"), QStringLiteral("X"), QStringLiteral("清空导入列表"));
    for (QPushButton* b : { one, all, clear }) {
        b->setFixedWidth(44);
        moves->addWidget(b);
    }
    moves->addStretch();
    connect(one, &QPushButton::clicked, this, &TfrmBillImportExport::moveSelected);
    connect(all, &QPushButton::clicked, this, &TfrmBillImportExport::moveAll);
    connect(clear, &QPushButton::clicked, this, &TfrmBillImportExport::clearChosen);
    grid->addLayout(moves, 3, 1);
    grid->addWidget(mChosen, 3, 2);

    // A same-named template is always replaced.
    auto* update = new QCheckBox(QStringLiteral("更新旧版本单据"), page);
    update->setObjectName(QStringLiteral("cbUpdateOld"));
    update->setChecked(true);
    update->setEnabled(false);
    grid->addWidget(update, 4, 0);

    auto* bottom = new QHBoxLayout;
    auto* link = new QLabel(QStringLiteral("<a href=\"#\">网上下载</a>"), page);
    link->setObjectName(QStringLiteral("lbDownload"));
    link->setToolTip(QStringLiteral("点击进入网站"));
    link->setEnabled(bool(mDownload));
    connect(link, &QLabel::linkActivated, this, [this] {
        if (mDownload) {
            mDownload();
            close();
        }
    });
    bottom->addWidget(link);
    mImportProgress = new QLabel(page);
    mImportProgress->setObjectName(QStringLiteral("lbImportProgress"));
    mImportProgress->hide();
    bottom->addWidget(mImportProgress);
    bottom->addStretch();
    QPushButton* run
        = addButton(page, QStringLiteral("btImport"), QStringLiteral("3.开始导入(&D)"));
    connect(run, &QPushButton::clicked, this, &TfrmBillImportExport::importChosen);
    bottom->addWidget(run);
    QPushButton* done
        = addButton(page, QStringLiteral("btImportClose"), QStringLiteral("完成退出(&X)"));
    connect(done, &QPushButton::clicked, this, &QDialog::accept);
    bottom->addWidget(done);
    grid->addLayout(bottom, 5, 0, 1, 3);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(3, 1);
    return page;
}

QWidget* TfrmBillImportExport::buildExportPage()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("panelExport"));
    auto* grid = new QGridLayout(page);
    grid->addWidget(new QLabel(QStringLiteral("系统已有票据列表："), page), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("1.选中的需要导出的票据："), page), 0, 2);
    mExisting = new QListWidget(page);
    mExisting->setObjectName(QStringLiteral("listExpExists"));
    mExisting->setSortingEnabled(true);
    mExportChosen = new QListWidget(page);
    mExportChosen->setObjectName(QStringLiteral("ListExpSel"));
    mExportChosen->setSortingEnabled(true);
    connect(mExisting, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        auto* viewer = new TfrmImageShow(this);
        viewer->setAttribute(Qt::WA_DeleteOnClose);
        viewer->setModal(true);
        if (viewer->loadPictureByFullName(mDb, mFolder, mPrompter, item->text()))
            viewer->show();
        else
            delete viewer;
    });
    grid->addWidget(mExisting, 1, 0);
    auto* moves = new QVBoxLayout;
    moves->addStretch();
    QPushButton* all = addButton(
        page, QStringLiteral("btESelAll"), QStringLiteral("->>"), QStringLiteral("全部导出"));
    QPushButton* one = addButton(
        page, QStringLiteral("btESelect"), QStringLiteral("->"), QStringLiteral("选中导出"));
    QPushButton* clear = addButton(
        page, QStringLiteral("btEClear"), QStringLiteral("X"), QStringLiteral("清空选中列表"));
    for (QPushButton* b : { all, one, clear }) {
        b->setFixedWidth(44);
        b->setEnabled(false);
        moves->addWidget(b);
    }
    moves->addStretch();
    connect(one, &QPushButton::clicked, this, &TfrmBillImportExport::moveSelectedExport);
    connect(all, &QPushButton::clicked, this, &TfrmBillImportExport::moveAllExport);
    connect(clear, &QPushButton::clicked, this, &TfrmBillImportExport::clearExport);
    grid->addLayout(moves, 1, 1);
    grid->addWidget(mExportChosen, 1, 2);

    auto* target = new QHBoxLayout;
    target->addWidget(new QLabel(QStringLiteral("导出到文件夹:"), page));
    mExportFile
        = new QLineEdit(QDir::toNativeSeparators(QDir::homePath() + QLatin1Char('/')), page);
    mExportFile->setObjectName(QStringLiteral("edtExportFolder"));
    mExportFile->setReadOnly(true);
    target->addWidget(mExportFile, 1);
    QPushButton* browse
        = addButton(page, QStringLiteral("btBrowseExport"), QStringLiteral("2.浏览.."));
    connect(browse, &QPushButton::clicked, this, &TfrmBillImportExport::browseExport);
    target->addWidget(browse);
    grid->addLayout(target, 2, 0, 1, 3);

    auto* bottom = new QHBoxLayout;
    mExportProgress = new QLabel(page);
    mExportProgress->setObjectName(QStringLiteral("lbExportProgress"));
    mExportProgress->hide();
    bottom->addWidget(mExportProgress);
    bottom->addStretch();
    QPushButton* run
        = addButton(page, QStringLiteral("btExport"), QStringLiteral("3.开始导出(&D)"));
    run->setEnabled(false);
    connect(run, &QPushButton::clicked, this, &TfrmBillImportExport::exportChosen);
    bottom->addWidget(run);
    QPushButton* done
        = addButton(page, QStringLiteral("btExportClose"), QStringLiteral("完成退出(&X)"));
    connect(done, &QPushButton::clicked, this, &QDialog::accept);
    bottom->addWidget(done);
    grid->addLayout(bottom, 3, 0, 1, 3);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(1, 1);
    return page;
}

void TfrmBillImportExport::recordError(const QString& text)
{
    core::IniFile& ini = mSettings.userIni();
    ini.writeString(QStringLiteral("ERROR"), QStringLiteral("LASTERROR"), text);
    ini.flush();
}

void TfrmBillImportExport::setImportButtons(bool listed)
{
    for (const char* name : { "btImpSel", "btImpSelAll", "btImpClear" })
        button(QString::fromLatin1(name))->setEnabled(listed);
    button(QStringLiteral("btImport"))->setEnabled(listed && mChosen->count() > 0);
}

// ---- import ------------------------------------------------------------------------------------

void TfrmBillImportExport::browseImport()
{
    const QString path = mFiles.openFileName(this, QStringLiteral("选择票据包"), kFilter);
    mFrom->clear();
    mChosen->clear();
    mPackagePath.clear();
    setImportButtons(false);
    if (path.isEmpty() || !core::isPackageName(path)) {
        mImportFile->clear();
        mPrompter.inform(
            QStringLiteral("请选择标准的Pennock票据包，例如：中国银行进账单.tpk"), kNotice);
        return;
    }
    mImportFile->setText(QDir::toNativeSeparators(path));
    if (loadPackageChecks(path))
        moveSelected();
}

bool TfrmBillImportExport::loadPackageChecks(const QString& path)
{
    mFrom->clear();
    mChosen->clear();
    setImportButtons(false);
    try {
        core::PackageFile package(path);
        if (package.entries().isEmpty()) {
            mPrompter.inform(QStringLiteral("抱歉,Pennock从包里找不到可用于导入的票据！"), kNotice);
            return false;
        }
        for (const core::PackageEntry& e : package.entries())
            mFrom->addItem(e.fullName);
    } catch (const core::PackageError& e) {
        recordError(e.message());
        mPrompter.warn(e.message(), kNotice);
        return false;
    }
    mPackagePath = path;
    mImportFile->setText(QDir::toNativeSeparators(path));
    setImportButtons(true);
    return true;
}

void TfrmBillImportExport::moveSelected()
{
    if (moveOne(mFrom, mChosen))
        button(QStringLiteral("btImport"))->setEnabled(true);
}

void TfrmBillImportExport::moveAll()
{
    const bool any = mFrom->count() > 0;
    while (mFrom->count() > 0)
        mChosen->addItem(mFrom->takeItem(0));
    if (any)
        button(QStringLiteral("btImport"))->setEnabled(true);
}

void TfrmBillImportExport::clearChosen()
{
    if (!mPackagePath.isEmpty())
        loadPackageChecks(mPackagePath);
    button(QStringLiteral("btImport"))->setEnabled(false);
}

int TfrmBillImportExport::importChosen()
{
    if (mChosen->count() == 0) {
        mPrompter.inform(QStringLiteral("请选择要导入的票据！"), kNotice);
        return 0;
    }
    QStringList names;
    for (int i = 0; i < mChosen->count(); ++i)
        names << mChosen->item(i)->text();
    mImportProgress->setText(QStringLiteral("0/%1").arg(names.size()));
    mImportProgress->show();
    mImportProgress->repaint();
    QList<core::ImportOutcome> outcomes;
    try {
        outcomes = core::importPackage(mDb, mFolder, mPackagePath, names, true);
    } catch (const core::PackageError& e) {
        mImportProgress->hide();
        recordError(e.message());
        mPrompter.warn(e.message(), kNotice);
        return 0;
    }
    mImportProgress->setText(QStringLiteral("%1/%1").arg(names.size()));
    mImportProgress->hide();
    int imported = 0;
    QString failures;
    for (const core::ImportOutcome& o : std::as_const(outcomes)) {
        if (o.failure.isEmpty())
            ++imported;
        else
            failures += QStringLiteral("\n导入失败，单据：") + o.fullName + QStringLiteral("（")
                + o.failure + QStringLiteral("）");
    }
    if (!failures.isEmpty())
        recordError(failures.trimmed());
    mImported = mImported || imported > 0;
    mPrompter.inform(core::importSummary(outcomes) + failures, kNotice);
    return imported;
}

void TfrmBillImportExport::showPackagePicture(const QString& fullName)
{
    try {
        core::PackageFile package(mPackagePath);
        const QVariantMap row = package.templateRow(fullName);
        QPixmap picture;
        for (auto it = row.constBegin(); it != row.constEnd(); ++it)
            if (it.key().compare(QStringLiteral("Img_Bytes"), Qt::CaseInsensitive) == 0)
                picture.loadFromData(it.value().toByteArray());
        if (picture.isNull()) {
            mPrompter.inform(QStringLiteral("没有有效的图片文件~"), kNotice);
            return;
        }
        auto* viewer = new TfrmImageShow(this);
        viewer->setAttribute(Qt::WA_DeleteOnClose);
        viewer->setModal(true);
        viewer->setWindowTitle(
            QStringLiteral("Pennock软件-模板图片查看【") + fullName + QStringLiteral("】"));
        viewer->showPicture(picture);
    } catch (const core::PackageError& e) {
        mPrompter.warn(e.message(), kNotice);
    }
}

// ---- export ------------------------------------------------------------------------------------

void TfrmBillImportExport::loadExistsChecks()
{
    mExisting->clear();
    mExportChosen->clear();
    try {
        QSqlQuery q = mDb.exec(QStringLiteral("select CheckTypeID, TypeName from CKTypeTable"));
        while (q.next()) {
            auto* item = new QListWidgetItem(q.value(1).toString());
            item->setData(Qt::UserRole, q.value(0).toInt());
            mExisting->addItem(item);
        }
    } catch (const core::DbError& e) {
        recordError(e.message());
        mPrompter.warn(QStringLiteral(":),数据包访问异常！"), kNotice);
        return;
    }
    if (mExisting->count() == 0) {
        mPrompter.inform(QStringLiteral("系统还没有导入任何的可用票据！"), kNotice);
        return;
    }
    for (const char* name : { "btESelAll", "btESelect", "btEClear" })
        button(QString::fromLatin1(name))->setEnabled(true);
}

void TfrmBillImportExport::browseExport()
{
    const QString path = mFiles.saveFileName(this, QStringLiteral("导出票据包"),
        QDir::homePath() + QStringLiteral("/Pennock快递模板.tpk"),
        QStringLiteral("Pennock票据包(*.tpk)"));
    QPushButton* run = button(QStringLiteral("btExport"));
    if (path.isEmpty()) {
        run->setEnabled(false);
        return;
    }
    if (!path.contains(QStringLiteral(".tpk"), Qt::CaseInsensitive)) {
        mExportFile->clear();
        run->setEnabled(false);
        mPrompter.inform(
            QStringLiteral("请选择或输入标准的票据包，例如：顺风快递07.tpk、天地达.tpk"), kNotice);
        return;
    }
    mExportFile->setText(QDir::toNativeSeparators(path));
    run->setEnabled(true);
}

void TfrmBillImportExport::moveSelectedExport() { moveOne(mExisting, mExportChosen); }

void TfrmBillImportExport::moveAllExport()
{
    while (mExisting->count() > 0)
        mExportChosen->addItem(mExisting->takeItem(0));
}

void TfrmBillImportExport::clearExport() { loadExistsChecks(); }

int TfrmBillImportExport::exportChosen()
{
    if (mExportChosen->count() == 0) {
        mPrompter.inform(QStringLiteral("还没有选择要导出的票据格式！"), kNotice);
        return 0;
    }
    QList<int> ids;
    for (int i = 0; i < mExportChosen->count(); ++i)
        ids << mExportChosen->item(i)->data(Qt::UserRole).toInt();
    mExportProgress->setText(QStringLiteral("0/%1").arg(ids.size()));
    mExportProgress->show();
    mExportProgress->repaint();
    QStringList messages;
    try {
        messages = core::exportPackage(
            mDb, mFolder, ids, QDir::fromNativeSeparators(mExportFile->text()));
    } catch (const core::PackageError& e) {
        mExportProgress->hide();
        recordError(e.message());
        mPrompter.warn(e.message(), kNotice);
        return 0;
    }
    mExportProgress->hide();
    for (const QString& m : std::as_const(messages))
        mPrompter.warn(m, kNotice);
    mPrompter.inform(QStringLiteral("导出完成,成功导出%1个单据！").arg(ids.size()), kNotice);
    return int(ids.size());
}

} // namespace pennock::ui
