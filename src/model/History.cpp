#include "model/History.h"

#include <QUndoCommand>

// A step between two states, as bytes. Pushing it runs redo(), which then
// has nothing to do: the state is already the one after.
class TStateStep : public QUndoCommand {
  public:
    TStateStep(TStateHistory& history, std::string before, std::string after, const char* name)
        : QUndoCommand(QString::fromUtf8(name)), history_(history), before_(std::move(before)),
          after_(std::move(after)) {}
    void undo() override { history_.Arrive(before_); }
    void redo() override {
        if (first_)
            first_ = false;
        else
            history_.Arrive(after_);
    }

  private:
    TStateHistory& history_;
    std::string before_, after_;
    bool first_ = true;
};

TStateHistory::TStateHistory(int limit) {
    stack_.setUndoLimit(limit);
}

void TStateHistory::Reset(const TPlotState& state) {
    stack_.clear();
    state_ = state;
    depth_ = 0;
    stack_.setClean();
}

void TStateHistory::Begin(const char* name) {
    if (depth_++ == 0) name_ = name;
}

void TStateHistory::End(const TPlotState& now) {
    if (depth_ == 0 || --depth_ > 0) return;
    std::string before = StateBytes(state_);
    std::string after = StateBytes(now);
    if (before == after) return;
    state_ = now;
    stack_.push(new TStateStep(*this, std::move(before), std::move(after), name_.c_str()));
}

void TStateHistory::Edit(const TPlotState& now, const char* name) {
    Begin(name);
    End(now);
}

bool TStateHistory::CanUndo() const {
    return !blocked_ && depth_ == 0 && stack_.canUndo();
}

bool TStateHistory::CanRedo() const {
    return !blocked_ && depth_ == 0 && stack_.canRedo();
}

void TStateHistory::Undo() {
    if (CanUndo()) stack_.undo();
}

void TStateHistory::Redo() {
    if (CanRedo()) stack_.redo();
}

std::string TStateHistory::UndoName() const {
    return stack_.undoText().toStdString();
}

std::string TStateHistory::RedoName() const {
    return stack_.redoText().toStdString();
}

void TStateHistory::Arrive(const std::string& bytes) {
    state_ = StateFromBytes(bytes);
    if (Show) Show(state_);
}
