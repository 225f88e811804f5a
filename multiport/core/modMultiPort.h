#pragma once

#include <QString>

namespace brantock::multiport {

// The launcher's file name; it lies beside the configuration program.
inline const QString LoaderFileName = QStringLiteral("brantockmultiportloader");

// The two ports and tags as stored, each its default when missing or empty.
void GetMultiPortSettings(QString& port1, QString& port2, QString& tag1, QString& tag2);

// The path the start entry names for the launcher: the program folder, "/" and its name.
QString LoaderPath();
// The start-with-login entry starts the launcher.
bool GetRunOnStartup();
// Makes the start entry start the launcher, or removes the entry, whoever wrote it. A refused
// write is not reported.
void SetRunOnStartup(bool enable);

} // namespace brantock::multiport
