#pragma once

// The names configuration files go by: "*.tcn", and "*.lce", the extension a
// name typed without one gets when saved from the windows. The file dialogs,
// a file dropped on the window and the desktop's file type all know both.

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace ConfigurationFileTypes {

// The name patterns, "*.tcn" first.
QStringList Patterns();
// The file dialogs' filter: "File: (*.tcn *.lce)".
QString DialogFilter();
// The extension given to a name saved without one, without the dot.
QString DefaultSuffix();
// Whether the file's name ends in one of the extensions, in any case.
bool IsConfigurationFile(const QString& fileName);
// The first local configuration file among the addresses (a drop, say), or an
// empty text.
QString FirstConfigurationFile(const QList<QUrl>& urls);

} // namespace ConfigurationFileTypes
