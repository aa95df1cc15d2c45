#include "printing/PrintPreview.h"

#include "format/TextUtils.h"
#include "platform/Prompter.h"
#include "printing/PrintEngine.h"
#include "printing/Services.h"
#include "store/Database.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QSplitter>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace pennock::ui {

namespace {

QString q(const char* text) { return QString::fromUtf8(text); }

constexpr int kRulerThickness = 12;
constexpr int kTopRulerLeft = 6;
constexpr int kLeftRulerTop = 7;
constexpr int kMarkWidth = 25;
constexpr int kMarkHeight = 11;
constexpr int kLastOuterMarkWidth = 90;
const QSize kSheetSize(1123, 800);
const QColor kSheetColour(254, 222, 249);

// A track bar's look: a groove with one tick per centimetre on both sides.
class Ruler : public QWidget
{
public:
    Ruler(Qt::Orientation orientation, double pxPerCm, QWidget* parent)
        : QWidget(parent)
        , mOrientation(orientation)
        , mPxPerCm(pxPerCm)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setPen(QColor(120, 120, 120));
        const bool across = mOrientation == Qt::Horizontal;
        const int length = across ? width() : height();
        const int mid = kRulerThickness / 2;
        if (across)
            p.drawLine(0, mid, length, mid);
        else
            p.drawLine(mid, 0, mid, length);
        for (double at = 0; at <= length + 0.5; at += mPxPerCm) {
            const int v = qRound(at);
            if (across) {
                p.drawLine(v, 0, v, 3);
                p.drawLine(v, kRulerThickness - 4, v, kRulerThickness - 1);
            } else {
                p.drawLine(0, v, 3, v);
                p.drawLine(kRulerThickness - 4, v, kRulerThickness - 1, v);
            }
        }
    }

private:
    Qt::Orientation mOrientation;
    double mPxPerCm;
};

QLabel* markLabel(QWidget* on, const QString& text, const QRect& box)
{
    auto* mark = new QLabel(text, on);
    QFont font = mark->font();
    font.setPixelSize(9);
    mark->setFont(font);
    mark->setGeometry(box);
    mark->setAttribute(Qt::WA_TransparentForMouseEvents);
    return mark;
}

// The message a conversion of a non-number to a whole number gives.
QString notWholeNumber(const QString& text)
{
    return QStringLiteral("'%1' is not a valid integer value").arg(text);
}

bool wholeNumber(const QString& text, int* value)
{
    bool ok = false;
    *value = text.trimmed().toInt(&ok);
    return ok;
}

} // namespace

Tfm_PrintPreview::Tfm_PrintPreview(core::Services& services, int templateId, QWidget* parent)
    : QDialog(parent)
    , mServices(services)
    , mTemplateId(templateId)
{
    setObjectName(QStringLiteral("Tfm_PrintPreview"));
    setWindowTitle(q("打印预览"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        mDpi = qRound(screen->logicalDotsPerInchX());
    resize(873, 644);

    auto* layout = new QVBoxLayout(this);
    mTitle = new QLabel(this);
    mTitle->setObjectName(QStringLiteral("LbTitle"));
    mTitle->setAlignment(Qt::AlignCenter);
    QFont titleFont = mTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSize(titleFont.pointSize() + 3);
    mTitle->setFont(titleFont);
    layout->addWidget(mTitle);

    auto* buttons = new QWidget(this);
    buttons->setObjectName(QStringLiteral("pnButtons"));
    buttons->installEventFilter(this);
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 0, 0, 0);
    auto* editData = new QPushButton(q("修改预览数据"), buttons);
    editData->setObjectName(QStringLiteral("btEditData"));
    row->addWidget(editData);
    mIgnore = new QCheckBox(q("忽略整体偏移预览"), buttons);
    mIgnore->setObjectName(QStringLiteral("ckNoMoveXY"));
    row->addWidget(mIgnore);
    const auto addMove = [&](const QString& caption, const QString& hint, const QString& textName,
                             const QString& spinName, QLineEdit*& text, QSpinBox*& spin) {
        auto* label = new QLabel(caption, buttons);
        label->setToolTip(hint);
        row->addWidget(label);
        text = new QLineEdit(buttons);
        text->setObjectName(textName);
        text->setReadOnly(true);
        text->setFixedWidth(50);
        text->setToolTip(hint);
        row->addWidget(text);
        spin = new QSpinBox(buttons);
        spin->setObjectName(spinName);
        spin->setRange(-1500, 1500);
        spin->setSingleStep(5);
        spin->setToolTip(hint);
        row->addWidget(spin);
        row->addWidget(new QLabel(q("厘米"), buttons));
    };
    addMove(q("整体打印右移："), q("打印的内容整体向右移动(向左移动用加负数来表示)"),
        QStringLiteral("edtMoveX"), QStringLiteral("XMove"), mMoveXText, mMoveX);
    addMove(q("整体打印下移："), q("打印的内容整体向下移动(向上移动用加负数来表示)"),
        QStringLiteral("edtMoveY"), QStringLiteral("YMove"), mMoveYText, mMoveY);
    row->addStretch();
    mClose = new QPushButton(q("关  闭"), buttons);
    mClose->setObjectName(QStringLiteral("btClose"));
    row->addWidget(mClose);
    layout->addWidget(buttons);

    mSplitter = new QSplitter(Qt::Horizontal, this);
    mGrid = new QTableWidget(mSplitter);
    mGrid->setObjectName(QStringLiteral("DBGrid1"));
    mGrid->installEventFilter(this);
    mGrid->viewport()->installEventFilter(this);
    auto* scroll = new QScrollArea(mSplitter);
    scroll->setBackgroundRole(QPalette::Base);
    mArea = new QWidget;
    mArea->setObjectName(QStringLiteral("pnWhite"));
    mArea->setAutoFillBackground(true);
    // Both would otherwise take the scroll area's base role and paint white.
    mArea->setBackgroundRole(QPalette::Window);
    QPalette white = mArea->palette();
    white.setColor(QPalette::Window, Qt::white);
    mArea->setPalette(white);
    // Room for the sheet at the largest offsets either way.
    mArea->setFixedSize(px(1500) + kSheetSize.width() + kRulerThickness,
        px(1500) + kSheetSize.height() + kRulerThickness);
    scroll->setWidget(mArea);
    mSplitter->addWidget(mGrid);
    mSplitter->addWidget(scroll);
    mSplitter->setStretchFactor(1, 1);
    mSplitter->setSizes({ 300, 560 });
    layout->addWidget(mSplitter, 1);

    // The outer rulers measure the offset: 15 cm across, 10 cm down.
    addRuler(mArea, Qt::Horizontal, px(1500), QPoint(kTopRulerLeft, 0), 0, 15, true);
    addRuler(mArea, Qt::Vertical, px(1000), QPoint(0, kLeftRulerTop), 1, 10, true);

    mSheet = new QWidget(mArea);
    mSheet->setObjectName(QStringLiteral("pnSheet"));
    mSheet->setFixedSize(kSheetSize);
    mSheet->setAutoFillBackground(true);
    mSheet->setBackgroundRole(QPalette::Window);
    QPalette pink = mSheet->palette();
    pink.setColor(QPalette::Window, kSheetColour);
    mSheet->setPalette(pink);
    mSheet->installEventFilter(this);

    connect(
        editData, &QPushButton::clicked, this, [this] { mGrid->setVisible(!mGrid->isVisible()); });
    connect(mClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(mMoveX, &QSpinBox::valueChanged, this, [this](int value) {
        mMoveXText->setText(QString::number(value / 100.0));
        placeSheet();
    });
    connect(mMoveY, &QSpinBox::valueChanged, this, [this](int value) {
        mMoveYText->setText(QString::number(value / 100.0));
        placeSheet();
    });
    mMoveXText->setText(QStringLiteral("0"));
    mMoveYText->setText(QStringLiteral("0"));
    connect(mIgnore, &QCheckBox::toggled, this, [this] { placeSheet(); });
    connect(mGrid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!mLoadingGrid && item->column() == 3)
            writeSample(item->row());
    });
    placeSheet();
}

int Tfm_PrintPreview::px(int tenthMm) const { return core::TenthMmToPixels(tenthMm, mDpi); }

QPoint Tfm_PrintPreview::origin() const { return QPoint(kRulerThickness, kRulerThickness); }

void Tfm_PrintPreview::addRuler(QWidget* on, Qt::Orientation orientation, int lengthPx, QPoint at,
    int first, int last, bool outer)
{
    QList<QWidget*> made;
    auto* ruler = new Ruler(orientation, px(100), on);
    if (orientation == Qt::Horizontal)
        ruler->setGeometry(at.x(), at.y(), lengthPx, kRulerThickness);
    else
        ruler->setGeometry(at.x(), at.y(), kRulerThickness, lengthPx);
    made << ruler;
    for (int n = first; n <= last; ++n) {
        QString text = QString::number(n);
        if (orientation == Qt::Horizontal) {
            int left = px(n * 100) + kRulerThickness - 5;
            int width = kMarkWidth;
            if (n == 0) {
                text += QStringLiteral("cm");
                if (!outer)
                    left += kRulerThickness; // clear of the sheet's own left ruler
            }
            if (outer && n == last) {
                text += q("cm(整体偏移)");
                width = kLastOuterMarkWidth;
            }
            made << markLabel(on, text, QRect(left, kRulerThickness, width, kMarkHeight));
        } else {
            made << markLabel(
                on, text, QRect(14, px(n * 100) + kRulerThickness - 5, kMarkWidth, kMarkHeight));
        }
    }
    if (outer)
        mOuterRulers << made;
    for (QWidget* widget : made)
        widget->show();
}

bool Tfm_PrintPreview::load()
{
    mKind = core::loadCheckTypeFirstNameByID(mServices.db(), mTemplateId).trimmed();
    if (mKind.isEmpty()) {
        mServices.prompter().inform(q("没有找到对应的单据信息~"), q("提示"));
        return false;
    }
    mTitle->setText(
        q("【") + mServices.templates().loadCheckTypeFullNameByID(mTemplateId) + q("】打印预览"));
    drawItems();
    loadGrid();
    return true;
}

void Tfm_PrintPreview::drawItems()
{
    const QList<QWidget*> old = mSheet->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : old)
        delete child;
    addRuler(mSheet, Qt::Horizontal, px(2400), QPoint(kTopRulerLeft, 0), 0, 24, false);
    addRuler(mSheet, Qt::Vertical, px(2000), QPoint(0, kLeftRulerTop), 1, 20, false);

    if (mTemplateId <= 0) {
        setWindowTitle(q("未知的单据"));
        return;
    }
    core::Database& db = mServices.db();
    QSqlQuery offsets
        = db.exec(QStringLiteral("select XMove, YMove from CKTypeTable where CheckTypeId=?"),
            { mTemplateId });
    if (offsets.next()) {
        mMoveX->setValue(offsets.value(0).toInt());
        mMoveY->setValue(offsets.value(1).toInt());
    }
    placeSheet();

    QSqlQuery rows = db.exec(
        QStringLiteral(
            "select a.CtlName, a.CtlX, a.CtlY, a.CtlLH, a.SrcW, a.SrcH, a.FitParam, a.BreakNum, "
            "a.CtlFontSize, "
            "a.CtlFontName, b.CtlData, b.CtlLabel from ckControl as a, NameDict as b "
            "where a.CtlName=b.CtlName and a.NeedPrint=1 and b.PrintItem=1 and a.CheckTypeId=? "
            "and b.CheckTypeName=? order by a.ID"),
        { mTemplateId, mKind });
    core::PrintEngine planner(db, mServices.prompter());
    int number = 0;
    while (rows.next()) {
        ++number;
        const QString name = QStringLiteral("lb") + QString::number(number);
        QString text = rows.value(10).toString().trimmed();
        if (text.isEmpty())
            text = rows.value(11).toString().trimmed();
        core::ItemLayout layout;
        layout.name = rows.value(0).toString();
        layout.x = rows.value(1).toInt();
        layout.y = rows.value(2).toInt();
        layout.linePitch = rows.value(3).toInt();
        layout.fontName = rows.value(9).toString();
        layout.fontSize = rows.value(8).toInt();
        layout.breakFontSize = layout.fontSize; // every piece shows in the item's own size
        const QString fitParam = rows.value(6).toString();
        const QString breakNum = rows.value(7).toString();
        int cellPitch = 0;
        int breakWidth = 0;
        if ((!fitParam.isEmpty() && !wholeNumber(fitParam, &cellPitch))
            || (!breakNum.isEmpty() && !wholeNumber(breakNum, &breakWidth))) {
            const QString bad
                = !fitParam.isEmpty() && !wholeNumber(fitParam, &cellPitch) ? fitParam : breakNum;
            mServices.prompter().warn(notWholeNumber(bad), q("错误"));
            return;
        }
        // A pitch too small to tell cells apart on screen shows the text in one piece.
        layout.fitParam = px(cellPitch) > 1 ? QString::number(cellPitch) : QString();
        layout.breakNum = breakWidth >= 1 ? QString::number(breakWidth) : QString();
        if (text.isEmpty())
            continue;

        QFont font(layout.fontName);
        if (layout.fontSize > 0)
            font.setPointSize(layout.fontSize);
        const int boxW = rows.value(4).toInt();
        const int boxH = rows.value(5).toInt();
        const int pitch = layout.linePitch <= 0 ? 50 : layout.linePitch;
        // The print engine decides where lines and cells go, so the preview cannot disagree
        // with the paper.
        const core::PlannedItem planned = planner.planItem(layout, 0, 0, text, {});
        for (const core::PrintRun& run : planned.runs) {
            QString runName = name;
            if (breakWidth >= 1)
                runName += QStringLiteral("_") + QString::number((run.y - layout.y) / pitch);
            if (run.kind == core::PrintRun::Kind::Text) {
                drawText(runName, run.text, run.x, run.y, boxW, boxH, font);
            } else if (run.kind == core::PrintRun::Kind::Cells) {
                const QString cells = run.text.trimmed();
                int cell = 0;
                for (qsizetype i = 0; i < cells.size(); ++cell) {
                    const qsizetype units
                        = cells[i].isHighSurrogate() && i + 1 < cells.size() ? 2 : 1;
                    drawText(runName + QStringLiteral("_") + QString::number(cell),
                        cells.mid(i, units), run.x + cell * run.cellPitch, run.y, boxW, boxH, font);
                    i += units;
                }
            }
        }
    }
}

bool Tfm_PrintPreview::drawText(const QString& name, const QString& text, int xTenthMm,
    int yTenthMm, int boxW, int boxH, const QFont& font)
{
    if (text.trimmed().isEmpty())
        return false;
    auto* label = new QLabel(text, mSheet);
    label->setObjectName(name);
    label->setToolTip(name);
    label->setFont(font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setAutoFillBackground(false);
    // The item's box on the fill-in screen; a longer text is cut off at it.
    label->setGeometry(origin().x() + px(xTenthMm), origin().y() + px(yTenthMm), std::max(boxW, 1),
        std::max(boxH, 1));
    label->show();
    return true;
}

void Tfm_PrintPreview::placeSheet()
{
    if (mIgnore->isChecked()) {
        mSheet->move(0, 0);
        mSheet->raise();
        return;
    }
    mSheet->move(px(mMoveX->value()), px(mMoveY->value()));
    mSheet->lower();
}

void Tfm_PrintPreview::loadGrid()
{
    mLoadingGrid = true;
    mGrid->clear();
    mGrid->setRowCount(0);
    mGrid->setColumnCount(4);
    mGrid->setHorizontalHeaderLabels(
        { QStringLiteral("ID"), QStringLiteral("CtlName"), q("项目名"), q("内容") });
    if (mKind.isEmpty()) {
        mLoadingGrid = false;
        return;
    }
    try {
        QSqlQuery rows = mServices.db().exec(
            QStringLiteral("select ID, CtlName, CtlLabel, CtlData from NameDict where "
                           "CheckTypeName=? order by ShowOrd desc"),
            { mKind });
        while (rows.next()) {
            const int row = mGrid->rowCount();
            mGrid->insertRow(row);
            for (int column = 0; column < 4; ++column) {
                auto* cell = new QTableWidgetItem(rows.value(column).toString());
                if (column != 3)
                    cell->setFlags(cell->flags() & ~Qt::ItemIsEditable);
                mGrid->setItem(row, column, cell);
            }
        }
    } catch (const core::DbError& error) {
        mGrid->setRowCount(0);
        mServices.prompter().warn(error.message(), q("错误"));
    }
    if (mGrid->rowCount() > 0) {
        mGrid->hideColumn(0);
        mGrid->hideColumn(1);
        mGrid->setColumnWidth(2, 80);
        mGrid->setColumnWidth(3, 400);
    }
    mLoadingGrid = false;
}

void Tfm_PrintPreview::writeSample(int row)
{
    const QTableWidgetItem* id = mGrid->item(row, 0);
    const QTableWidgetItem* data = mGrid->item(row, 3);
    if (!id || !data)
        return;
    try {
        // The sample content belongs to the kind: every template of it shows the change.
        mServices.db().execute(QStringLiteral("update NameDict set CtlData=? where ID=?"),
            { data->text(), id->text().toInt() });
    } catch (const core::DbError& error) {
        mServices.prompter().warn(error.message(), q("错误"));
    }
}

QLabel* Tfm_PrintPreview::piece(const QString& name) const
{
    return mSheet->findChild<QLabel*>(name, Qt::FindDirectChildrenOnly);
}

QStringList Tfm_PrintPreview::pieceNames() const
{
    QStringList names;
    const QList<QLabel*> labels = mSheet->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    for (const QLabel* label : labels)
        if (label->objectName().startsWith(QStringLiteral("lb")))
            names << label->objectName();
    return names;
}

bool Tfm_PrintPreview::eventFilter(QObject* watched, QEvent* event)
{
    if (!mGrid || !mSheet) // still being built
        return QDialog::eventFilter(watched, event);
    if (watched == mSheet && event->type() == QEvent::MouseButtonPress) {
        if (!mIgnore->isChecked())
            mSheet->lower();
        mClose->setFocus();
    } else if (watched->objectName() == QStringLiteral("pnButtons")
        && event->type() == QEvent::MouseButtonPress) {
        mClose->setFocus();
    } else if (watched == mGrid && event->type() == QEvent::FocusOut) {
        // Opening a cell's editor moves the focus inside the grid, not out of it.
        QTimer::singleShot(0, this, [this] {
            if (!mGrid->isAncestorOf(QApplication::focusWidget())
                && QApplication::focusWidget() != mGrid)
                drawItems();
        });
    } else if (watched == mGrid->viewport() && event->type() == QEvent::Wheel
        && mGrid->hasFocus()) {
        // The wheel walks the rows like the arrow keys.
        const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
        if (delta != 0 && mGrid->rowCount() > 0) {
            const int column = std::max(mGrid->currentColumn(), 2);
            const int row
                = std::clamp(mGrid->currentRow() + (delta > 0 ? -1 : 1), 0, mGrid->rowCount() - 1);
            mGrid->setCurrentCell(row, column);
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void Tfm_PrintPreview::showFor(core::Services& services, int templateId, QWidget* parent)
{
    auto* window = new Tfm_PrintPreview(services, templateId, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    if (!window->load()) {
        window->close();
        return;
    }
    if (QScreen* screen = window->screen())
        window->move(screen->availableGeometry().center() - window->rect().center());
    window->exec();
}

} // namespace pennock::ui
