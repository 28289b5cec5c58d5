// No work lost: while the document has unsaved changes, the window writes it
// now and then to a recovery file of its own (one per running program) in
// the user's data folder; a save or a normal end removes it. A start finds
// the files left by programs that did not end.
#pragma once

#include "document/DocumentFile.h"

#include <QString>

#include <functional>
#include <string>
#include <vector>

// At most this often the window writes its unsaved document.
constexpr int RecoveryIntervalMs = 2000;

// A recovery file, and the file its document belonged to (empty: none).
struct TRecovery {
    QString Path;
    std::string OpenFile;
    qint64 Process = 0;
};

// The folder of the recovery files: the program's data location.
QString RecoveryFolder();
// This program's own recovery file.
QString OwnRecoveryFile();
// Writes the document (and the name of its file beside it) as this
// program's recovery, atomically. Throws PlotFileError.
void WriteRecovery(const TDocumentFile& document, const std::string& openFile);
// This program's recovery goes: its work was saved, or it ended normally.
void RemoveOwnRecovery();
// The recoveries of programs that are no longer running, the newest first.
std::vector<TRecovery> LeftRecoveries(const std::function<bool(qint64)>& running);
// Whether a process of that number runs.
bool ProcessRunning(qint64 process);
// A recovery read, and then removed (its work is the caller's now).
TDocumentFile TakeRecovery(const TRecovery& recovery);
void RemoveRecovery(const TRecovery& recovery);
