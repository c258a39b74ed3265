#include "StartupArguments.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

namespace {

void describeOptions(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QCoreApplication::translate(
        "main", "Measures how wide, in pixels, a column must be for a share of a text file's lines to fit."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("file"),
        QCoreApplication::translate("main", "The data file to measure, as if chosen with Open... (step 4)."),
        QStringLiteral("[file]"));
}

}  // namespace

void answerInformationRequests(int argc, char** argv)
{
    // Only a run that asks for them pays for the extra application object.
    bool asked = false;
    for (int i = 1; i < argc && !asked; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "--")
            break;
        asked = argument == "-h" || argument == "--help" || argument == "-?" || argument == "--help-all" ||
                argument == "-v" || argument == "--version";
    }
    if (!asked)
        return;
    QCoreApplication core(argc, argv);
    QCommandLineParser parser;
    describeOptions(parser);
    parser.parse(QCoreApplication::arguments());  // unknown options do not hide the answer
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
    parser.showHelp(0);
}

StartupArguments parseStartupArguments(const QStringList& arguments, const QString& currentFolder)
{
    QCommandLineParser parser;
    describeOptions(parser);
    StartupArguments result;
    if (!parser.parse(arguments)) {
        result.error = parser.errorText();
        return result;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        result.error = QCoreApplication::translate("main", "Only one data file can be given.");
        return result;
    }
    if (!files.isEmpty() && !files.first().isEmpty())
        result.dataFile = QDir::cleanPath(QDir(currentFolder).absoluteFilePath(files.first()));
    return result;
}
