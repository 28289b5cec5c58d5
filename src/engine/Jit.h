// The compiled form of a formula tree: x86-64 machine code that performs the
// operations of the tree walk in the same order and with the same
// instructions (each sum, product and quotient an 80-bit x87 operation
// rounded to double, every library function called as the walk calls it), so
// that it gives the same bits, the same EvalError and the same random draws.
//
// The code lives in pages of its own that are writable while the code is
// written and only readable and executable afterwards; it is freed with its
// tree. Where the system refuses executable pages, no code is made and the
// interpreter of the fast form runs instead.
#pragma once

#include "engine/Engine.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace engine {

class TJitCode {
  public:
    using TEntry = double (*)(const TExprNode* tree); // the tree is not read
    // The tree at n points: cell = values[i], the error flag cleared, the
    // value into out[i] and the flag into errors[i].
    using TRowEntry = void (*)(const double* values, std::size_t n, double* cell, double* out,
                               bool* errors);
    TJitCode(void* pages, std::size_t size, std::size_t used, TEntry entry);
    ~TJitCode();
    TJitCode(const TJitCode&) = delete;
    TJitCode& operator=(const TJitCode&) = delete;
    TEntry Entry() const { return entry_; }
    // The row that starts `offset` bytes into the code.
    TRowEntry RowAt(std::size_t offset) const {
        return reinterpret_cast<TRowEntry>(static_cast<unsigned char*>(pages_) + offset);
    }
    std::size_t Size() const { return size_; }
    // The bytes of code and constants at the start of the pages.
    const unsigned char* Bytes() const { return static_cast<const unsigned char*>(pages_); }
    std::size_t Used() const { return used_; }

  private:
    void* pages_;
    std::size_t size_;
    std::size_t used_;
    TEntry entry_;
};

// Machine code for the (constant-folded) tree under `root`, or null where it
// cannot be made: a node without an operation, a tree too large to be worth
// it, or executable memory refused.
std::unique_ptr<TJitCode> CompileToMachineCode(const TExprNode* root);

// The machine code of rows along `cells` (see EvalRow), one after another
// in the same pages, so that the pages become executable once for them all.
// Each row's loop takes the subtrees that depend neither on its cell nor on
// random draws from values computed once before it. Code is null (and no
// offsets) where no code can be made; its Entry() is null.
struct TRowCode {
    std::unique_ptr<TJitCode> Code;
    std::vector<std::size_t> Offsets; // of each cell's row
};
TRowCode CompileRowsToMachineCode(const TExprNode* root, const std::vector<const double*>& cells);

// Makes pages readable and executable (no longer writable); the system's
// mprotect unless a test replaces it to see the refusal handled.
using TProtectExecutable = bool (*)(void* pages, std::size_t size);
void SetProtectExecutable(TProtectExecutable protect); // null restores mprotect

// True when machine code can be made on this processor and system.
bool MachineCodeAvailable();

} // namespace engine
