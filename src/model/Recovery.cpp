#include "model/Recovery.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <csignal>

namespace {

// The file beside a recovery that names the file its document belonged to.
QString NameFileOf(const QString& recovery) {
    return recovery + QStringLiteral(".file");
}

} // namespace

QString RecoveryFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/recovery");
}

QString OwnRecoveryFile() {
    return RecoveryFolder() +
           QStringLiteral("/recovery-%1.mthx").arg(QCoreApplication::applicationPid());
}

void WriteRecovery(const TDocumentFile& document, const std::string& openFile) {
    QDir().mkpath(RecoveryFolder());
    const QString own = OwnRecoveryFile();
    WriteFileAtomically(NameFileOf(own).toStdString(),
                        [&](TFileSink& sink) { sink.Write(openFile.data(), openFile.size()); });
    WriteDocumentFile(own.toStdString(), document);
}

void RemoveOwnRecovery() {
    const QString own = OwnRecoveryFile();
    QFile::remove(own);
    QFile::remove(NameFileOf(own));
}

bool ProcessRunning(qint64 process) {
    return process > 0 && (::kill(static_cast<pid_t>(process), 0) == 0 || errno == EPERM);
}

std::vector<TRecovery> LeftRecoveries(const std::function<bool(qint64)>& running) {
    static const QRegularExpression name(QStringLiteral("^recovery-(\\d+)\\.mthx$"));
    std::vector<std::pair<QDateTime, TRecovery>> found;
    const QDir folder(RecoveryFolder());
    for (const QFileInfo& file :
         folder.entryInfoList({QStringLiteral("recovery-*.mthx")}, QDir::Files)) {
        const auto match = name.match(file.fileName());
        const qint64 process = match.hasMatch() ? match.captured(1).toLongLong() : 0;
        if (process == 0 || process == QCoreApplication::applicationPid() || running(process))
            continue;
        QFile belonged(NameFileOf(file.filePath()));
        std::string openFile;
        if (belonged.open(QIODevice::ReadOnly)) openFile = belonged.readAll().toStdString();
        found.push_back({file.lastModified(), {file.filePath(), openFile, process}});
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<TRecovery> left;
    for (auto& f : found)
        left.push_back(f.second);
    return left;
}

TDocumentFile TakeRecovery(const TRecovery& recovery) {
    TDocumentFile document = ReadDocumentFile(recovery.Path.toStdString());
    RemoveRecovery(recovery);
    return document;
}

void RemoveRecovery(const TRecovery& recovery) {
    QFile::remove(recovery.Path);
    QFile::remove(NameFileOf(recovery.Path));
}
