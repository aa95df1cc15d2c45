#include "templates/FormDescription.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <stdexcept>

namespace pennock::core {

namespace {

[[noreturn]] void fail(const QString& source, const QString& what)
{
    throw std::runtime_error((source + QStringLiteral(": ") + what).toStdString());
}

QList<double> numbers(
    const QJsonValue& value, qsizetype count, const QString& source, const QString& what)
{
    const QJsonArray array = value.toArray();
    if (array.size() != count)
        fail(source, QStringLiteral("%1 needs %2 numbers").arg(what).arg(count));
    QList<double> out;
    for (const QJsonValue& v : array) {
        if (!v.isDouble())
            fail(source, QStringLiteral("%1 holds a value that is not a number").arg(what));
        out << v.toDouble();
    }
    return out;
}

QColor colorOf(const QJsonValue& value, const QColor& fallback)
{
    const QColor c(value.toString());
    return value.isString() && c.isValid() ? c : fallback;
}

// Pre-printed text of bank forms is a Song face; the CJK serif stands in for it.
QFont printedFont(double heightPx, bool bold)
{
    QFont font(QStringLiteral("Noto Serif CJK SC"));
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(std::max(1, int(std::lround(heightPx))));
    font.setBold(bold);
    return font;
}

} // namespace

QSize FormDescription::pictureSize() const { return { px(widthMm), px(heightMm) }; }

double FormItem::printLeftMm() const
{
    // Digits of the CJK print fonts (Noto Serif and Sans CJK) advance 0.556 em, their Chinese
    // characters one em.
    constexpr double kDigitEm = 0.556;
    const double emMm = fontSize * 25.4 / 72;
    const double charMm = (wide ? 1.0 : kDigitEm) * emMm;
    bool pitched = false;
    const double pitchMm = fit.toInt(&pitched) / 10.0;
    if (pitched && pitchMm > 0)
        return boxMm.x() + (pitchMm - charMm) / 2;
    if (centred)
        return boxMm.x() + (boxMm.width() - charMm) / 2;
    return boxMm.x();
}

int FormDescription::px(double mm) const { return int(std::lround(mm * scale)); }

int FormDescription::tenthMm(double mm) { return int(std::lround(mm * 10)); }

FormDescription parseFormDescription(const QByteArray& json, const QString& sourceName)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (!doc.isObject())
        fail(sourceName,
            QStringLiteral("not a JSON object (%1 at %2)")
                .arg(error.errorString())
                .arg(error.offset));
    const QJsonObject o = doc.object();
    FormDescription f;
    f.sourceName = sourceName;
    f.templateId = o.value(QStringLiteral("template_id")).toInt();
    f.kind = o.value(QStringLiteral("kind")).toString();
    f.variant = o.value(QStringLiteral("variant")).toString();
    f.isDefault = o.value(QStringLiteral("default")).toBool();
    f.isCommon = o.value(QStringLiteral("common")).toBool(true);
    f.image = o.value(QStringLiteral("image")).toString();
    const QList<double> paper
        = numbers(o.value(QStringLiteral("paper")), 2, sourceName, QStringLiteral("paper"));
    f.widthMm = paper[0];
    f.heightMm = paper[1];
    if (f.widthMm <= 0 || f.heightMm <= 0)
        fail(sourceName, QStringLiteral("paper size must be positive"));
    f.scale = o.value(QStringLiteral("scale")).toDouble(4);
    if (f.scale <= 0)
        fail(sourceName, QStringLiteral("scale must be positive"));
    f.landscape = o.value(QStringLiteral("landscape")).toBool();
    f.checkBoxes = o.value(QStringLiteral("checkboxes")).toString();
    f.background = colorOf(o.value(QStringLiteral("background")), f.background);
    f.ink = colorOf(o.value(QStringLiteral("ink")), f.ink);
    f.font = o.value(QStringLiteral("font")).toString(f.font);
    f.fontSize = o.value(QStringLiteral("font_size")).toInt(f.fontSize);
    f.draw = o.value(QStringLiteral("draw")).toArray();
    if (f.image.isEmpty())
        fail(sourceName, QStringLiteral("no image name"));

    for (const QJsonValue& v : o.value(QStringLiteral("items")).toArray()) {
        const QJsonObject i = v.toObject();
        FormItem item;
        item.name = i.value(QStringLiteral("name")).toString().toUpper();
        if (item.name.isEmpty())
            fail(sourceName, QStringLiteral("an item without a name"));
        const QList<double> box = numbers(
            i.value(QStringLiteral("box")), 4, sourceName, QStringLiteral("box of ") + item.name);
        item.boxMm = QRectF(box[0], box[1], box[2], box[3]);
        item.fontSize = i.value(QStringLiteral("font_size")).toInt(f.fontSize);
        item.breakFontSize = i.value(QStringLiteral("break_font_size")).toInt(item.fontSize);
        item.breakNum = i.value(QStringLiteral("break_num")).toVariant().toString();
        item.fit = i.value(QStringLiteral("fit")).toVariant().toString();
        item.linePitchMm = i.value(QStringLiteral("line_pitch")).toDouble(0);
        item.show = i.value(QStringLiteral("show")).toInt(1);
        item.init = i.value(QStringLiteral("init")).toString();
        item.bold = i.value(QStringLiteral("bold")).toInt(0);
        const QString align = i.value(QStringLiteral("align")).toString(QStringLiteral("left"));
        if (align != u"left" && align != u"center")
            fail(sourceName,
                QStringLiteral("align of %1 is neither left nor center").arg(item.name));
        item.centred = align == u"center";
        item.wide = i.value(QStringLiteral("wide")).toBool(false);
        f.items << item;
    }

    const QJsonValue options = o.value(QStringLiteral("options"));
    if (!options.isUndefined() && !options.isObject())
        fail(sourceName, QStringLiteral("options must be an object"));
    const QJsonObject optionObject = options.toObject();
    for (auto it = optionObject.begin(); it != optionObject.end(); ++it) {
        if (!it.value().isString())
            fail(sourceName, QStringLiteral("option %1 is not a text").arg(it.key()));
        f.options.append({ it.key(), it.value().toString() });
    }
    return f;
}

QImage drawForm(const FormDescription& f, bool outlineItems)
{
    QImage image(f.pictureSize(), QImage::Format_RGB32);
    image.fill(f.background);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const double s = f.scale;

    const auto penFor = [&](const QJsonObject& e) {
        QPen pen(colorOf(e.value(QStringLiteral("color")), f.ink));
        pen.setWidthF(std::max(1.0, e.value(QStringLiteral("width")).toDouble(0.25) * s));
        if (e.value(QStringLiteral("dash")).toBool())
            pen.setStyle(Qt::DashLine);
        return pen;
    };

    for (const QJsonValue& v : f.draw) {
        const QJsonObject e = v.toObject();
        if (e.contains(QStringLiteral("rect"))) {
            const QList<double> r
                = numbers(e.value(QStringLiteral("rect")), 4, f.sourceName, QStringLiteral("rect"));
            const QRectF rect(r[0] * s, r[1] * s, r[2] * s, r[3] * s);
            if (e.contains(QStringLiteral("fill")))
                p.fillRect(rect, colorOf(e.value(QStringLiteral("fill")), f.background));
            p.setPen(penFor(e));
            p.setBrush(Qt::NoBrush);
            p.drawRect(rect);
        } else if (e.contains(QStringLiteral("line"))) {
            const QList<double> l
                = numbers(e.value(QStringLiteral("line")), 4, f.sourceName, QStringLiteral("line"));
            p.setPen(penFor(e));
            p.drawLine(QPointF(l[0] * s, l[1] * s), QPointF(l[2] * s, l[3] * s));
        } else if (e.contains(QStringLiteral("ellipse"))) {
            const QList<double> r = numbers(
                e.value(QStringLiteral("ellipse")), 4, f.sourceName, QStringLiteral("ellipse"));
            p.setPen(penFor(e));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QRectF(r[0] * s, r[1] * s, r[2] * s, r[3] * s));
        } else if (e.contains(QStringLiteral("text"))) {
            const QString text = e.value(QStringLiteral("text")).toString();
            const QList<double> at = numbers(
                e.value(QStringLiteral("at")), 2, f.sourceName, QStringLiteral("at of ") + text);
            const double heightPx = e.value(QStringLiteral("size")).toDouble(3) * s;
            const QFont font = printedFont(heightPx, e.value(QStringLiteral("bold")).toBool());
            p.setFont(font);
            p.setPen(colorOf(e.value(QStringLiteral("color")), f.ink));
            const QFontMetricsF fm(font);
            const QString align = e.value(QStringLiteral("align")).toString();
            if (e.value(QStringLiteral("vertical")).toBool()) {
                double y = at[1] * s;
                for (const QChar c : text) {
                    const double w = fm.horizontalAdvance(c);
                    p.drawText(QPointF(at[0] * s - w / 2, y + fm.ascent()), QString(c));
                    y += fm.height();
                }
            } else {
                const double w = fm.horizontalAdvance(text);
                double x = at[0] * s;
                if (align == u"center")
                    x -= w / 2;
                else if (align == u"right")
                    x -= w;
                p.drawText(QPointF(x, at[1] * s + fm.ascent()), text);
            }
        } else if (e.contains(QStringLiteral("cells"))) {
            const QList<double> c = numbers(
                e.value(QStringLiteral("cells")), 4, f.sourceName, QStringLiteral("cells"));
            const int count = e.value(QStringLiteral("count")).toInt();
            const QJsonArray labels = e.value(QStringLiteral("labels")).toArray();
            const double labelPx = e.value(QStringLiteral("label_size")).toDouble(2.2) * s;
            const bool inside = e.value(QStringLiteral("labels_inside")).toBool();
            p.setPen(penFor(e));
            p.setBrush(Qt::NoBrush);
            for (int i = 0; i < count; ++i) {
                const QRectF cell((c[0] + i * c[2]) * s, c[1] * s, c[2] * s, c[3] * s);
                p.drawRect(cell);
                if (i >= labels.size())
                    continue;
                const QFont font = printedFont(labelPx, false);
                p.setFont(font);
                const QFontMetricsF fm(font);
                const QString label = labels[i].toString();
                const double top = inside ? cell.top() + 1 : cell.top() - fm.height() - 1;
                p.drawText(
                    QPointF(cell.center().x() - fm.horizontalAdvance(label) / 2, top + fm.ascent()),
                    label);
            }
        } else {
            fail(f.sourceName, QStringLiteral("unknown drawing element"));
        }
    }

    if (outlineItems) {
        QPen pen(QColor(0, 90, 200));
        pen.setWidthF(1);
        p.setPen(pen);
        for (const FormItem& item : f.items) {
            const QRectF box(item.boxMm.x() * s, item.boxMm.y() * s, item.boxMm.width() * s,
                item.boxMm.height() * s);
            p.setPen(item.show ? QColor(0, 90, 200) : QColor(150, 150, 150));
            p.drawRect(box);
            p.setFont(printedFont(std::min(box.height() * 0.6, 2.2 * s), false));
            p.drawText(box.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, item.name);
        }
    }
    return image;
}

} // namespace pennock::core
