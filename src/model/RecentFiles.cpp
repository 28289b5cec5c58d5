#include "model/RecentFiles.h"

#include <QFileInfo>
#include <QSettings>

namespace {

const QString FilesKey = QStringLiteral("recentFiles");
const QString FolderKey = QStringLiteral("lastFolder");

QString Absolute(const QString& path) {
    return QFileInfo(path).absoluteFilePath();
}

} // namespace

namespace RecentFiles {

QStringList Files() {
    QStringList files = QSettings().value(FilesKey).toStringList();
    while (files.size() > Most)
        files.removeLast();
    return files;
}

void Add(const QString& path) {
    const QString file = Absolute(path);
    QStringList files = Files();
    files.removeAll(file);
    files.prepend(file);
    while (files.size() > Most)
        files.removeLast();
    QSettings settings;
    settings.setValue(FilesKey, files);
    settings.setValue(FolderKey, QFileInfo(file).absolutePath());
}

void Remove(const QString& path) {
    QStringList files = Files();
    files.removeAll(Absolute(path));
    QSettings().setValue(FilesKey, files);
}

void Clear() {
    QSettings().setValue(FilesKey, QStringList());
}

QString LastFolder() {
    return QSettings().value(FolderKey).toString();
}

} // namespace RecentFiles
