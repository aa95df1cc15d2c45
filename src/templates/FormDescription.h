#pragma once

#include <QColor>
#include <QJsonArray>
#include <QList>
#include <QPair>
#include <QRectF>
#include <QString>

class QPainter;

namespace pennock::core {

/// One item of a form description: where its value goes, in millimetres.
struct FormItem
{
    QString name; ///< catalogue item, upper case
    QRectF boxMm;
    int fontSize = 10;
    int breakFontSize = 0;
    QString breakNum;
    QString fit;
    double linePitchMm = 0;
    int show = 1;
    QString init;
    int bold = 0;
    /// The box is a cell for one character, printed in its middle: a half-width digit, or a
    /// Chinese character when `wide`. Cells of `fit` are always printed that way.
    bool centred = false;
    bool wide = false;

    /// Where the value starts on paper, in mm from the left edge: the box's left edge, or
    /// moved right so that one character of the print font sits in the middle of its cell.
    double printLeftMm() const;
};

/// A blank form as data: the picture's drawing and the items' places. Lengths in millimetres.
struct FormDescription
{
    QString sourceName; ///< file it was read from, for messages
    int templateId = 0;
    QString kind;
    QString variant;
    bool isDefault = false;
    bool isCommon = true;
    QString image;
    double widthMm = 0;
    double heightMm = 0;
    double scale = 4; ///< picture pixels per mm
    bool landscape = false;
    QString checkBoxes;
    QColor background { 0xfb, 0xf5, 0xe6 };
    QColor ink { 0xa3, 0x3b, 0x32 };
    QString font = QStringLiteral("宋体");
    int fontSize = 10;
    QJsonArray draw;
    QList<FormItem> items;
    /// Per-template options (`DMTable` rows) a new installation starts with.
    QList<QPair<QString, QString>> options;

    /// Picture size in pixels.
    QSize pictureSize() const;
    /// A length in mm as picture pixels and as paper units (0.1 mm).
    int px(double mm) const;
    static int tenthMm(double mm);
};

/// Reads a description; throws std::runtime_error naming the file and the fault.
FormDescription parseFormDescription(const QByteArray& json, const QString& sourceName);

/// Draws the blank form at the description's scale; with `outlineItems`, the item boxes too.
QImage drawForm(const FormDescription& form, bool outlineItems = false);

} // namespace pennock::core
