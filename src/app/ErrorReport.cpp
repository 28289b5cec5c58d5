#include "app/ErrorReport.h"

#include <QApplication>
#include <QMessageBox>

#include <exception>

namespace {
std::function<void(const std::string&)>& Sink() {
    static std::function<void(const std::string&)> sink;
    return sink;
}
} // namespace

void SetFailureSink(std::function<void(const std::string&)> sink) {
    Sink() = std::move(sink);
}

void ReportFailure(const std::string& message) {
    if (Sink()) {
        Sink()(message);
        return;
    }
    QMessageBox box(QMessageBox::Critical,
                    QCoreApplication::translate("Dialogs", "Графики функций"),
                    QString::fromStdString(message), QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

bool RunCommand(const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const std::exception& e) {
        ReportFailure(e.what());
    } catch (...) {
        ReportFailure("Unknown failure");
    }
    return false;
}
