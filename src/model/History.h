// The history of the state: each action of the user that changes the state
// is one step that Undo takes back and Redo makes again. A step keeps the
// bytes of the state before and after it; an action whose state equals the
// one before makes no step. The steps live on a QUndoStack, capped at 100;
// its clean state is the state last saved or opened.
#pragma once

#include "model/PlotState.h"

#include <QUndoStack>

#include <functional>
#include <string>

class TStateHistory {
  public:
    // `limit` steps at most are kept (the oldest go first).
    explicit TStateHistory(int limit = 100);

    // The state as the last step (or the start of the history) left it.
    const TPlotState& State() const { return state_; }

    // A new history from `state`: nothing to undo or redo, and clean.
    void Reset(const TPlotState& state);

    // An action of the user, named for the menu ("Отменить: масштаб"). The
    // actions begun inside an action are part of it: only the outermost
    // ends in a step, under its own name, from the state before it began
    // (or before the changes made outside any action since) to `now`.
    void Begin(const char* name);
    void End(const TPlotState& now);
    // One action with nothing inside it.
    void Edit(const TPlotState& now, const char* name);

    // Undo and Redo hand the state they reach to Show; they do nothing
    // while the history is blocked (an animation or a scan runs).
    bool CanUndo() const;
    bool CanRedo() const;
    void Undo();
    void Redo();
    std::function<void(const TPlotState&)> Show;
    void SetBlocked(bool blocked) { blocked_ = blocked; }
    bool Blocked() const { return blocked_; }

    // The name of the step Undo or Redo would take (the untranslated text).
    std::string UndoName() const;
    std::string RedoName() const;

    // The state now is the one saved; true while the history stands there.
    void MarkSaved() { stack_.setClean(); }
    bool AtSaved() const { return stack_.isClean(); }

    QUndoStack& Stack() { return stack_; }

  private:
    friend class TStateStep;
    void Arrive(const std::string& bytes); // an undo or redo reached these bytes
    QUndoStack stack_;
    TPlotState state_;
    int depth_ = 0;
    std::string name_; // of the outermost action begun
    bool blocked_ = false;
};
