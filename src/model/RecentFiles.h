// The plot files used last, newest first, at most eight, and the folder of
// the last one, kept in the user's settings (QSettings of the organisation
// and application names set at start) from one session to the next.
#pragma once

#include <QString>
#include <QStringList>

namespace RecentFiles {

constexpr int Most = 8;

QStringList Files();
// The file to the front of the list (once, by its absolute path), the list
// cut to eight; its folder becomes the last folder.
void Add(const QString& path);
void Remove(const QString& path);
void Clear();
// Where the file dialogs start: the folder of the last file used, or empty.
QString LastFolder();

} // namespace RecentFiles
