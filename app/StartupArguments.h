#pragma once
// The command line: spanwick [FILE], with --help and --version.

#include <QString>
#include <QStringList>

class QCoreApplication;

// --help and --version are answered before the display is opened, so they
// work anywhere; returns only when neither was asked for, else exits.
void answerInformationRequests(int argc, char** argv);

struct StartupArguments {
    QString dataFile;  // absolute path, not yet checked; empty when none was given
    QString error;     // a usage error to print; empty when the arguments are good
};

// Reads the arguments Qt has left (its own options taken out); a relative
// file name is taken from currentFolder.
StartupArguments parseStartupArguments(const QStringList& arguments, const QString& currentFolder);
