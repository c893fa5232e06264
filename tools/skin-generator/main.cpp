// skin-generator: draws the viewer's resource library from the skin table.
//
//   skin-generator --table skin.table --symbols DIR --theme DIR --out DIR --qrc FILE
//
// Writes <out>/<kind>/<number>.png for every entry and a resource collection file that names
// each image ":/<kind>/<number>", ready for rcc.
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>
#include <vector>

#include "skinlooks.h"
#include "skintable.h"
#include "symbolsource.h"

namespace {

int Fail(const QString& message) {
    std::fprintf(stderr, "skin-generator: %s\n", qPrintable(message));
    return 1;
}

bool WriteCollection(const QString& path, const QString& outDir,
                     const std::vector<SkinEntry>& entries, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text | QIODevice::Truncate)) {
        *error = "cannot write " + path;
        return false;
    }
    const QDir base = QFileInfo(path).absoluteDir();
    QTextStream out(&file);
    out << "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/\">\n";
    for (const SkinEntry& entry : entries) {
        const QString name = entry.kind + "/" + QString::number(entry.number);
        out << "    <file alias=\"" << name << "\">"
            << base.relativeFilePath(outDir + "/" + name + ".png") << "</file>\n";
    }
    out << "</qresource>\n</RCC>\n";
    return out.status() == QTextStream::Ok;
}

}  // namespace

int main(int argc, char* argv[]) {
    // Text needs a font database, which needs a platform; none has to be on screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription("Draws the viewer's resource library from the skin table.");
    parser.addHelpOption();
    const QCommandLineOption table("table", "The skin table.", "file");
    const QCommandLineOption symbolsDir("symbols", "Folder of the skin's own SVG symbols.", "dir");
    const QCommandLineOption theme("theme", "Icon theme folder (breeze-dark).", "dir");
    const QCommandLineOption outDir("out", "Folder for the PNG images.", "dir");
    const QCommandLineOption qrc("qrc", "Resource collection file to write.", "file");
    parser.addOptions({table, symbolsDir, theme, outDir, qrc});
    parser.process(application);
    for (const auto& option : {table, symbolsDir, theme, outDir, qrc}) {
        if (!parser.isSet(option)) {
            return Fail("--" + option.names().front() + " is required");
        }
    }

    QString error;
    std::vector<SkinEntry> entries;
    if (!ReadSkinTable(parser.value(table), &entries, &error)) {
        return Fail(error);
    }
    const SymbolSource symbols(parser.value(symbolsDir), parser.value(theme));
    const QString out = QDir(parser.value(outDir)).absolutePath();
    for (const SkinEntry& entry : entries) {
        const QImage image = RenderLook(entry, symbols, &error);
        if (image.isNull()) {
            return Fail(error.isEmpty() ? QStringLiteral("line %1: nothing drawn").arg(entry.line)
                                        : error);
        }
        const QString dir = out + "/" + entry.kind;
        const QString path = dir + "/" + QString::number(entry.number) + ".png";
        if (!QDir().mkpath(dir) || !image.save(path, "PNG")) {
            return Fail("cannot write " + path);
        }
    }
    if (!WriteCollection(parser.value(qrc), out, entries, &error)) {
        return Fail(error);
    }
    return 0;
}
