#include "engine/Jit.h"

#include "engine/FastForm.h"
#include "engine/Library.h"
#include "engine/X86Emitter.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

namespace engine {

namespace {

using namespace x86;

bool SystemProtectExecutable(void* pages, std::size_t size) {
    return mprotect(pages, size, PROT_READ | PROT_EXEC) == 0;
}

TProtectExecutable ProtectExecutable = SystemProtectExecutable;

// Pages for machine code, kept for the next tree when a tree is freed: every
// plot compiles its formulas afresh, and fresh pages cost the system a fault
// each. Sizes are whole powers of two of pages, so that freed pages fit the
// next tree of about the same size. Freed pages are made writable and no
// longer executable at once, so that old code can never run again; the next
// code is written into them as into fresh pages.
class TCodePages {
  public:
    static std::size_t SizeFor(std::size_t bytes) {
        static const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
        std::size_t size = page;
        while (size < bytes)
            size *= 2;
        return size;
    }
    // Writable pages of `size` bytes, or null.
    void* Take(std::size_t size) {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            const auto it = free_.find(size);
            if (it != free_.end()) {
                void* p = it->second;
                free_.erase(it);
                cached_ -= size;
                return p;
            }
        }
        void* p = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        return p == MAP_FAILED ? nullptr : p;
    }
    // Takes back pages that hold code.
    void Give(void* p, std::size_t size) {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (cached_ + size > CacheLimit || mprotect(p, size, PROT_READ | PROT_WRITE) != 0) {
            munmap(p, size);
            return;
        }
        free_.emplace(size, p);
        cached_ += size;
    }
    // Takes back pages that never became executable.
    void GiveUnused(void* p, std::size_t size) { munmap(p, size); }

  private:
    static constexpr std::size_t CacheLimit = 16u << 20;
    std::mutex mutex_;
    std::multimap<std::size_t, void*> free_;
    std::size_t cached_ = 0;
};

TCodePages& CodePages() {
    static TCodePages* pages = new TCodePages; // never freed: trees may outlive statics
    return *pages;
}

// Where a value of the tree is: a variable's cell, a constant of the pool
// after the code, or a slot of the stack frame.
struct TLoc {
    enum TKind { Cell, Const, Slot } Kind;
    const double* CellAddress = nullptr;
    int Index = 0; // constant or slot number
};

// More nodes than this are not worth the code: the interpreter runs them.
constexpr std::size_t MaxCompiledNodes = 200000;

bool HasNodeWithoutOperation(const TExprNode* n) {
    for (; n != nullptr; n = n->Next) {
        if (n->Kind == nkFunction && n->Func == nullptr) return true;
        if (HasNodeWithoutOperation(n->Child)) return true;
    }
    return false;
}

class TGenerator {
  public:
    // The assembler is kept from one tree to the next with its memory.
    TGenerator() : a_(Assembler()) { a_.Reset(); }

    // The whole function: frame, the tree's value into xmm0, return.
    void Function(const TExprNode* root, std::size_t nodes) {
        a_.Code.reserve(64 + 48 * nodes); // about the most a node takes
        // The frame size is known only at the end: patched then.
        const std::size_t enter = a_.Code.size();
        a_.SubRsp(0);
        const TLoc result = Value(root, 0);
        Load(xmm0, result);
        const std::size_t leave = a_.Code.size();
        const std::uint32_t frame = FrameSize();
        a_.AddRsp(frame);
        a_.Ret();
        if (!calls_ && maxSlot_ < 16) {
            // Code that calls nothing keeps its few slots in the 128 bytes
            // below rsp that the ABI leaves to it, and needs no frame.
            a_.Nop7(enter);
            a_.Nop7(leave);
            for (const std::size_t at : a_.RspDisp8At)
                a_.Code[at] = static_cast<std::uint8_t>(-8 - a_.Code[at]);
        } else {
            a_.Patch(enter + 3, static_cast<std::int32_t>(frame));
        }
        a_.RspDisp8At.clear();
    }

    // The row along `cell`: for each point, its value into the cell, the
    // error flag cleared, the tree's value and the flag stored. The subtrees
    // that depend neither on the cell nor on random draws are computed once,
    // before the loop, into the frame, and their error flag is kept and
    // joined to each point's. Always with a frame, which the six saved
    // registers leave aligned as the function's is.
    void Row(const TExprNode* root, const double* cell, const bool* flag) {
        maxSlot_ = 0; // each row has a frame of its own
        calls_ = false;
        keptAt_.clear();
        std::vector<const TExprNode*> kept;
        if (!Depends(root, cell, kept) && !Trivial(root)) kept.push_back(root);
        const int flagSlot = static_cast<int>(kept.size());
        const int body = flagSlot + 1;
        a_.RowEnter();
        const std::size_t enter = a_.Code.size();
        a_.SubRsp(0);
        const std::size_t empty = a_.JumpIfRowEmpty();
        a_.MovRaxImm64(reinterpret_cast<std::uintptr_t>(flag));
        a_.MovByteAtRaxZero();
        for (std::size_t k = 0; k < kept.size(); ++k) {
            Load(xmm0, Value(kept[k], body));
            Store(Slot(static_cast<int>(k)), xmm0);
        }
        for (std::size_t k = 0; k < kept.size(); ++k)
            keptAt_[kept[k]] = Slot(static_cast<int>(k));
        Slot(flagSlot);
        a_.MovRaxImm64(reinterpret_cast<std::uintptr_t>(flag));
        a_.RowKeepFlag(flagSlot * 8);
        const std::size_t top = a_.Code.size();
        a_.RowSetCell();
        a_.MovRaxImm64(reinterpret_cast<std::uintptr_t>(flag));
        a_.MovByteAtRaxZero();
        Load(xmm0, Value(root, body));
        a_.RowStoreResult();
        a_.MovRaxImm64(reinterpret_cast<std::uintptr_t>(flag));
        a_.RowStoreFlagWithKept(flagSlot * 8);
        a_.RowNext(top);
        a_.Bind(empty);
        const std::size_t leave = a_.Code.size();
        a_.AddRsp(0);
        a_.RowLeave();
        a_.Ret();
        a_.Patch(enter + 3, static_cast<std::int32_t>(FrameSize()));
        a_.Patch(leave + 3, static_cast<std::int32_t>(FrameSize()));
    }

    void Finish() { a_.FinishPool(constants_); }
    std::vector<std::uint8_t>& Code() { return a_.Code; }

  private:
    // --- locations
    std::uint32_t FrameSize() const {
        // At entry rsp is 8 past a multiple of 16, and calls need it aligned:
        // the smallest frame of 8 (mod 16) bytes that holds every slot.
        const std::uint32_t slots = static_cast<std::uint32_t>(maxSlot_ + 1) * 8;
        return (slots + 7) / 16 * 16 + 8;
    }
    Mem Operand(const TLoc& l) {
        switch (l.Kind) {
        case TLoc::Cell:
            a_.MovRaxImm64(reinterpret_cast<std::uintptr_t>(l.CellAddress));
            return AtRax();
        case TLoc::Const:
            return Pool(l.Index);
        case TLoc::Slot:
            break;
        }
        return AtRsp(l.Index * 8);
    }
    TLoc Slot(int d) {
        if (d > maxSlot_) maxSlot_ = d;
        return {TLoc::Slot, nullptr, d};
    }
    int PoolConstant(std::uint64_t bits) {
        const auto it = constantIndex_.find(bits);
        if (it != constantIndex_.end()) return it->second;
        const int index = static_cast<int>(constants_.size());
        constants_.push_back(bits);
        constantIndex_[bits] = index;
        return index;
    }
    TLoc Constant(double v) {
        std::uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        return {TLoc::Const, nullptr, PoolConstant(bits)};
    }
    void Load(Xmm x, const TLoc& l) { a_.MovsdLoad(x, Operand(l)); }
    void Store(const TLoc& dest, Xmm x) { a_.MovsdStore(Operand(dest), x); }

    // --- the node kinds; Value leaves a node's value where the returned
    // location says, using the frame slots from d on.
    // Out of line, so that the frame of the recursion stays small.
    [[gnu::noinline]] const TLoc* Kept(const TExprNode* n) const {
        const auto it = keptAt_.find(n);
        return it != keptAt_.end() ? &it->second : nullptr;
    }

    static bool Trivial(const TExprNode* n) { return CellOf(n) || n->Kind == nkConstant; }

    // Whether the node's value depends on `cell` or on random draws; the
    // largest subtrees below it that do not (and are more than a cell or a
    // constant) go into `kept`.
    static bool Depends(const TExprNode* n, const double* cell,
                        std::vector<const TExprNode*>& kept) {
        if (const double* c = CellOf(n)) return c == cell;
        if (n->Kind == nkConstant) return false;
        bool depends = n->Kind == nkFunction &&
                       (n->Func == FnRand || (n->Child == nullptr && cell == &CurrentContext().X));
        const std::size_t before = kept.size();
        std::vector<const TExprNode*> free;
        for (const TExprNode* c = n->Child; c != nullptr; c = c->Next) {
            if (Depends(c, cell, kept))
                depends = true;
            else if (!Trivial(c))
                free.push_back(c);
        }
        if (!depends) {
            kept.resize(before); // the node goes whole
            return false;
        }
        kept.insert(kept.end(), free.begin(), free.end());
        return true;
    }

    TLoc Value(const TExprNode* n, int d) {
        if (const double* cell = CellOf(n)) return {TLoc::Cell, cell, 0};
        if (!keptAt_.empty())
            if (const TLoc* kept = Kept(n)) return *kept;
        switch (n->Kind) {
        case nkConstant:
            return Constant(n->Value);
        case nkSum:
            return Sum(n->Child, d);
        case nkProduct:
            return Product(n->Child, d);
        case nkPower:
            return PowerChain(n->Child, d);
        case nkFunction:
            return Function(n, d);
        }
        return Constant(0.0);
    }

    // r = 0; r = r +- v for every operand, each sum an 80-bit operation
    // rounded to double.
    TLoc Sum(const TExprNode* op, int d) {
        if (op == nullptr) return Constant(0.0);
        TLoc r = Value(op, d);
        if (!op->Positive || !NeverNegativeZero(op)) {
            // 0 + v turns -0 into +0; 0 - v is the negation except for zeros.
            a_.Fldz();
            if (op->Positive)
                a_.Fadd(Operand(r));
            else
                a_.Fsub(Operand(r));
            r = Slot(d);
            a_.Fstp(Operand(r));
        }
        for (op = op->Next; op != nullptr; op = op->Next) {
            const TLoc v = Value(op, d + 1);
            a_.Fld(Operand(r));
            if (op->Positive)
                a_.Fadd(Operand(v));
            else
                a_.Fsub(Operand(v));
            r = Slot(d);
            a_.Fstp(Operand(r));
        }
        return r;
    }

    // r = 1; r = r * v or, checked, r = r / v for every operand.
    TLoc Product(const TExprNode* op, int d) {
        if (op == nullptr) return Constant(1.0);
        TLoc r = Value(op, d);
        if (!op->Positive) r = Divide(Constant(1.0), r, d, op); // 1 / v
        // Otherwise 1 * v is v exactly.
        for (op = op->Next; op != nullptr; op = op->Next) {
            const TLoc v = Value(op, d + 1);
            if (op->Positive) {
                a_.Fld(Operand(r));
                a_.Fmul(Operand(v));
                r = Slot(d);
                a_.Fstp(Operand(r));
            } else {
                r = Divide(r, v, d, op);
            }
        }
        return r;
    }

    // a / v into slot d, v being the value of `divisor`; a divisor of 0 or
    // NaN sets EvalError and gives 0.
    TLoc Divide(const TLoc& a, const TLoc& v, int d, const TExprNode* divisor) {
        const TLoc dest = Slot(d);
        const bool safe =
            divisor->Kind == nkConstant && divisor->Value != 0 && divisor->Value == divisor->Value;
        std::size_t zero = 0, unordered = 0;
        if (!safe) {
            Load(xmm0, v);
            a_.Xorpd(xmm1, xmm1);
            a_.Ucomisd(xmm0, xmm1);
            unordered = a_.Jcc(Parity);
            zero = a_.Jcc(Equal);
        }
        a_.Fld(Operand(a));
        a_.Fdiv(Operand(v));
        a_.Fstp(Operand(dest));
        if (!safe) {
            const std::size_t done = a_.Jmp();
            a_.Bind(unordered);
            a_.Bind(zero);
            a_.MovRaxImm64(reinterpret_cast<std::uintptr_t>(&CurrentContext().Error));
            a_.MovByteAtRaxOne();
            a_.MovQwordZero(Operand(dest)); // +0
            a_.Bind(done);
        }
        return dest;
    }

    // r = first operand; r = Power(r, e) for every further one.
    TLoc PowerChain(const TExprNode* op, int d) {
        if (op == nullptr) return Constant(0.0);
        TLoc r = Value(op, d);
        for (op = op->Next; op != nullptr; op = op->Next) {
            if (op->Kind == nkConstant && op->Value == 2.0) {
                // Power(b, 2): b * b rounded once, and 0 for NaN (masked,
                // without a branch).
                Load(xmm0, r);
                a_.Movapd(xmm1, xmm0);
                a_.Mulsd(xmm1, xmm0);
                a_.Cmpordsd(xmm0, xmm0);
                a_.AndpdRegs(xmm1, xmm0);
                r = Slot(d);
                Store(r, xmm1);
                continue;
            }
            const TLoc e = Value(op, d + 1);
            Load(xmm0, r);
            Load(xmm1, e);
            Call(reinterpret_cast<const void*>(&engine::Power));
            r = Slot(d);
            Store(r, xmm0);
        }
        return r;
    }

    TLoc Function(const TExprNode* n, int d) {
        const TLoc a =
            n->Child != nullptr ? Value(n->Child, d) : TLoc{TLoc::Cell, &CurrentContext().X, 0};
        const TLoc dest = Slot(d);
        Load(xmm0, a);
        if (n->Func == FnSqrt) {
            // The square root of a number >= 0 (and of -0) inline; anything
            // else goes to the library for its domain error.
            a_.Xorpd(xmm1, xmm1);
            a_.Ucomisd(xmm0, xmm1);
            const std::size_t library = a_.Jcc(Below); // below zero, or unordered
            a_.Sqrtsd(xmm0, xmm0);
            const std::size_t done = a_.Jmp();
            a_.Bind(library);
            Call(reinterpret_cast<const void*>(n->Func));
            a_.Bind(done);
        } else if (n->Func == FnSqr) {
            a_.Mulsd(xmm0, xmm0);
        } else if (n->Func == FnAbs) {
            if (absMask_ < 0) {
                // Two copies of the mask at an even index: 16-byte aligned.
                if (constants_.size() % 2 != 0) constants_.push_back(0);
                absMask_ = static_cast<int>(constants_.size());
                constants_.push_back(0x7FFFFFFFFFFFFFFFull);
                constants_.push_back(0x7FFFFFFFFFFFFFFFull);
            }
            a_.Andpd(xmm0, Pool(absMask_));
        } else {
            Call(reinterpret_cast<const void*>(n->Func));
        }
        Store(dest, xmm0);
        return dest;
    }

    void Call(const void* function) {
        calls_ = true;
        a_.MovRaxImm64(reinterpret_cast<std::uintptr_t>(function));
        a_.CallRax();
    }

    static Emitter& Assembler() {
        thread_local Emitter emitter;
        return emitter;
    }

    Emitter& a_;
    int maxSlot_ = 0;
    bool calls_ = false;
    int absMask_ = -1;
    std::vector<std::uint64_t> constants_;
    std::unordered_map<std::uint64_t, int> constantIndex_;
    std::unordered_map<const TExprNode*, TLoc> keptAt_; // a specialised row's kept values
};

// The code into pages of its own: written while only readable and
// writable, then only readable and executable, never both writable and
// executable. The entries are offsets into the code.
std::unique_ptr<TJitCode> Install(const std::vector<std::uint8_t>& code,
                                  std::optional<std::size_t> entry) {
    const std::size_t size = TCodePages::SizeFor(code.size());
    void* pages = CodePages().Take(size);
    if (pages == nullptr) return nullptr;
    std::memcpy(pages, code.data(), code.size());
    if (!ProtectExecutable(pages, size)) {
        CodePages().GiveUnused(pages, size);
        return nullptr; // the interpreter runs instead
    }
    auto* bytes = static_cast<unsigned char*>(pages);
    return std::make_unique<TJitCode>(pages, size, code.size(),
                                      entry ? reinterpret_cast<TJitCode::TEntry>(bytes + *entry)
                                            : nullptr);
}

} // namespace

TJitCode::TJitCode(void* pages, std::size_t size, std::size_t used, TEntry entry)
    : pages_(pages), size_(size), used_(used), entry_(entry) {}

TJitCode::~TJitCode() {
    CodePages().Give(pages_, size_);
}

void SetProtectExecutable(TProtectExecutable protect) {
    ProtectExecutable = protect != nullptr ? protect : SystemProtectExecutable;
}

bool MachineCodeAvailable() {
#if defined(__x86_64__)
    return true;
#else
    return false;
#endif
}

std::unique_ptr<TJitCode> CompileToMachineCode(const TExprNode* root) {
    if (!MachineCodeAvailable() || root == nullptr) return nullptr;
    if (HasNodeWithoutOperation(root)) return nullptr;
    const std::size_t nodes = CountTreeNodes(root, MaxCompiledNodes);
    if (nodes > MaxCompiledNodes) return nullptr;
    TGenerator gen;
    gen.Function(root, nodes);
    gen.Finish();
    return Install(gen.Code(), 0);
}

TRowCode CompileRowsToMachineCode(const TExprNode* root, const std::vector<const double*>& cells) {
    TRowCode rows;
    if (!MachineCodeAvailable() || root == nullptr || cells.empty()) return rows;
    if (HasNodeWithoutOperation(root)) return rows;
    if (CountTreeNodes(root, MaxCompiledNodes) > MaxCompiledNodes) return rows;
    TGenerator gen;
    for (const double* cell : cells) {
        rows.Offsets.push_back(gen.Code().size());
        gen.Row(root, cell, &CurrentContext().Error);
    }
    gen.Finish();
    rows.Code = Install(gen.Code(), std::nullopt);
    if (!rows.Code) rows.Offsets.clear();
    return rows;
}

} // namespace engine
