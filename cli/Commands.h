#pragma once

#include <QStringList>

namespace cli {

// Each command takes the words after its name and gives the exit status. They run the
// event loop of the QCoreApplication that main() made.
int runPorts(const QStringList &args);
int runRead(const QStringList &args);
int runRecord(const QStringList &args);
int runDownload(const QStringList &args);
int runConvert(const QStringList &args);

// The whole help of a command, or of the program for an empty name.
QString usage(const QString &command);

} // namespace cli
