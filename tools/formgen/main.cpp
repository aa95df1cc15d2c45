// Draws the blank form pictures from their descriptions at build time, and lists them with the
// seed data in a resource file, so that a new installation carries everything it needs.
#include "templates/FormDescription.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QSaveFile>
#include <QSet>

#include <cstdio>
#include <stdexcept>

using pennock::core::FormDescription;

namespace {

FormDescription load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error((path + QStringLiteral(": ") + file.errorString()).toStdString());
    return pennock::core::parseFormDescription(file.readAll(), QFileInfo(path).fileName());
}

void save(const QImage& image, const QString& path, const char* format)
{
    if (!image.save(path, format, 90))
        throw std::runtime_error(("cannot write " + path).toStdString());
}

QString xmlEscaped(const QString& text) { return text.toHtmlEscaped(); }

int usage()
{
    std::fprintf(stderr,
        "usage: pennock-formgen --preview FORM.json OUT.png\n"
        "       pennock-formgen --out DIR --qrc FILE --data DATA_DIR FORM.json...\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    try {
        if (args.size() == 3 && args[0] == u"--preview") {
            save(pennock::core::drawForm(load(args[1]), true), args[2], "PNG");
            return 0;
        }
        QString outDir, qrcPath, dataDir;
        QStringList forms;
        for (qsizetype i = 0; i < args.size(); ++i) {
            if (args[i] == u"--out" && i + 1 < args.size())
                outDir = args[++i];
            else if (args[i] == u"--qrc" && i + 1 < args.size())
                qrcPath = args[++i];
            else if (args[i] == u"--data" && i + 1 < args.size())
                dataDir = args[++i];
            else
                forms << args[i];
        }
        if (outDir.isEmpty() || qrcPath.isEmpty() || dataDir.isEmpty())
            return usage();
        QDir().mkpath(outDir);

        QSet<QString> images;
        QSet<int> ids;
        QString qrc = QStringLiteral("<RCC>\n  <qresource prefix=\"/\">\n");
        for (const QString& path : forms) {
            const FormDescription form = load(path);
            const QString image = form.image.toLower();
            if (images.contains(image))
                throw std::runtime_error(
                    (path + QStringLiteral(": picture name used twice: ") + form.image)
                        .toStdString());
            images.insert(image);
            if (form.templateId != 0) {
                if (ids.contains(form.templateId))
                    throw std::runtime_error(
                        (path + QStringLiteral(": template_id used twice")).toStdString());
                ids.insert(form.templateId);
            }
            const QString target = outDir + QLatin1Char('/') + form.image;
            save(pennock::core::drawForm(form), target, "JPG");
            qrc += QStringLiteral("    <file alias=\"images/%1\">%2</file>\n")
                       .arg(xmlEscaped(form.image),
                           xmlEscaped(QFileInfo(target).absoluteFilePath()));
        }
        QDirIterator it(dataDir, { QStringLiteral("*.tsv"), QStringLiteral("*.json") }, QDir::Files,
            QDirIterator::Subdirectories);
        QStringList dataFiles;
        while (it.hasNext())
            dataFiles << it.next();
        dataFiles.sort();
        for (const QString& file : dataFiles)
            qrc += QStringLiteral("    <file alias=\"data/%1\">%2</file>\n")
                       .arg(xmlEscaped(QDir(dataDir).relativeFilePath(file)),
                           xmlEscaped(QFileInfo(file).absoluteFilePath()));
        qrc += QStringLiteral("  </qresource>\n</RCC>\n");

        QSaveFile out(qrcPath);
        if (!out.open(QIODevice::WriteOnly) || out.write(qrc.toUtf8()) < 0 || !out.commit())
            throw std::runtime_error(("cannot write " + qrcPath).toStdString());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "pennock-formgen: %s\n", e.what());
        return 1;
    }
}
