// The one way a failed command tells the user: a message box in the program,
// a record that tests read instead of a modal dialog.
#pragma once

#include <functional>
#include <string>

// Shows the message of a failed command.
void ReportFailure(const std::string& message);

// Replaces the message box, for tests; an empty function restores it.
void SetFailureSink(std::function<void(const std::string&)> sink);

// Runs a command; a failure inside it abandons the rest of the command and is
// reported. Nothing escapes into the event loop. Returns false on failure.
bool RunCommand(const std::function<void()>& command);

// A command as a slot: the handler run through RunCommand.
template <typename Handler> auto AsCommand(Handler handler) {
    return [handler] { RunCommand(handler); };
}
