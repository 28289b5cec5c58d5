// A small x86-64 assembler for the machine code of formula trees: the few
// instruction forms it needs (x87 arithmetic on doubles in memory, SSE2
// scalar doubles, calls and jumps), encoded straight into a byte vector.
//
// Memory operands are [rax], [rsp + disp] and constants of a pool placed
// after the code and reached relative to rip.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace engine::x86 {

enum Xmm : std::uint8_t { xmm0 = 0, xmm1 = 1 };

struct Mem {
    enum Kind : std::uint8_t { AtRax, AtRsp, InPool } Base;
    std::int32_t Disp = 0; // AtRsp: the displacement; InPool: the constant's number
};

inline Mem AtRax() {
    return {Mem::AtRax, 0};
}
inline Mem AtRsp(std::int32_t disp) {
    return {Mem::AtRsp, disp};
}
inline Mem Pool(int constant) {
    return {Mem::InPool, constant};
}

// Condition codes of jcc.
enum Cond : std::uint8_t { Below = 0x2, Equal = 0x4, Parity = 0xA };

class Emitter {
  public:
    std::vector<std::uint8_t> Code;
    // Where the one-byte displacements of [rsp + disp] operands are, so
    // that they can be moved below rsp.
    std::vector<std::size_t> RspDisp8At;

    // Empties the code, keeping the memory for the next.
    void Reset() {
        Code.clear();
        RspDisp8At.clear();
        poolUses_.clear();
    }

    // --- x87, on 64-bit memory operands
    void Fld(Mem m) { Op(0xDD, 0, m); }
    void Fstp(Mem m) { Op(0xDD, 3, m); }
    void Fadd(Mem m) { Op(0xDC, 0, m); }
    void Fmul(Mem m) { Op(0xDC, 1, m); }
    void Fsub(Mem m) { Op(0xDC, 4, m); } // st0 = st0 - m
    void Fdiv(Mem m) { Op(0xDC, 6, m); } // st0 = st0 / m
    void Fldz() { Bytes({0xD9, 0xEE}); }
    void Fld1() { Bytes({0xD9, 0xE8}); }

    // --- SSE2 scalar doubles
    void MovsdLoad(Xmm r, Mem m) { Sse(0xF2, 0x10, r, m); }
    void MovsdStore(Mem m, Xmm r) { Sse(0xF2, 0x11, r, m); }
    void Andpd(Xmm r, Mem m) { Sse(0x66, 0x54, r, m); }
    void AndpdRegs(Xmm a, Xmm b) { SseRegs(0x66, 0x54, a, b); }
    void Mulsd(Xmm a, Xmm b) { SseRegs(0xF2, 0x59, a, b); }
    void Sqrtsd(Xmm a, Xmm b) { SseRegs(0xF2, 0x51, a, b); }
    void Xorpd(Xmm a, Xmm b) { SseRegs(0x66, 0x57, a, b); }
    void Movapd(Xmm a, Xmm b) { SseRegs(0x66, 0x28, a, b); }
    void Ucomisd(Xmm a, Xmm b) { SseRegs(0x66, 0x2E, a, b); }
    // a = all ones where neither a nor b is NaN, else 0
    void Cmpordsd(Xmm a, Xmm b) {
        SseRegs(0xF2, 0xC2, a, b);
        Code.push_back(7);
    }

    // --- integer registers, calls
    void MovRaxImm64(std::uint64_t v) {
        Bytes({0x48, 0xB8});
        Raw(&v, 8);
    }
    void CallRax() { Bytes({0xFF, 0xD0}); }
    void MovByteAtRaxOne() { Bytes({0xC6, 0x00, 0x01}); }
    void MovQwordZero(Mem m) { // mov qword [m], 0 (sign-extended imm32)
        Code.push_back(0x48);
        Op(0xC7, 0, m);
        const std::uint32_t zero = 0;
        Raw(&zero, 4);
    }
    void SubRsp(std::uint32_t v) {
        Bytes({0x48, 0x81, 0xEC});
        Raw(&v, 4);
    }
    void AddRsp(std::uint32_t v) {
        Bytes({0x48, 0x81, 0xC4});
        Raw(&v, 4);
    }
    void Ret() { Code.push_back(0xC3); }

    // --- the loop of a row: values at rbx, count in r12, the varied cell at
    // r13, results at r14, error flags at r15, the index in rbp (all kept
    // across calls by the ABI).
    void RowEnter() {
        Bytes({0x53, 0x55, 0x41, 0x54, 0x41, 0x55, 0x41, 0x56, 0x41, 0x57}); // push rbx..r15
        Bytes({0x48, 0x89, 0xFB});                                           // mov rbx, rdi
        Bytes({0x49, 0x89, 0xF4});                                           // mov r12, rsi
        Bytes({0x49, 0x89, 0xD5});                                           // mov r13, rdx
        Bytes({0x49, 0x89, 0xCE});                                           // mov r14, rcx
        Bytes({0x4D, 0x89, 0xC7});                                           // mov r15, r8
        Bytes({0x31, 0xED});                                                 // xor ebp, ebp
    }
    void RowLeave() {
        Bytes({0x41, 0x5F, 0x41, 0x5E, 0x41, 0x5D, 0x41, 0x5C, 0x5D, 0x5B}); // pop r15..rbx
    }
    std::size_t JumpIfRowEmpty() {
        Bytes({0x4D, 0x85, 0xE4}); // test r12, r12
        return Jcc(Equal);
    }
    // The point's value into its cell: movsd xmm0, [rbx + rbp*8]; movsd [r13], xmm0
    void RowSetCell() { Bytes({0xF2, 0x0F, 0x10, 0x04, 0xEB, 0xF2, 0x41, 0x0F, 0x11, 0x45, 0x00}); }
    // movsd [r14 + rbp*8], xmm0
    void RowStoreResult() { Bytes({0xF2, 0x41, 0x0F, 0x11, 0x04, 0xEE}); }
    void MovByteAtRaxZero() { Bytes({0xC6, 0x00, 0x00}); }
    // The flag at rax kept in the frame: movzx ecx, byte [rax]; mov [rsp + disp], cl
    void RowKeepFlag(std::int32_t disp) {
        Bytes({0x0F, 0xB6, 0x08, 0x88, 0x8C, 0x24});
        Raw(&disp, 4);
    }
    // The flag at rax joined by the kept one, into both places:
    // movzx ecx, byte [rax]; or cl, [rsp + disp]; mov [rax], cl; mov [r15 + rbp], cl
    void RowStoreFlagWithKept(std::int32_t disp) {
        Bytes({0x0F, 0xB6, 0x08, 0x0A, 0x8C, 0x24});
        Raw(&disp, 4);
        Bytes({0x88, 0x08, 0x41, 0x88, 0x0C, 0x2F});
    }
    // inc rbp; cmp rbp, r12; jb `top`
    void RowNext(std::size_t top) {
        Bytes({0x48, 0xFF, 0xC5, 0x4C, 0x39, 0xE5, 0x0F, 0x80 | Below});
        const auto rel = static_cast<std::int32_t>(static_cast<std::ptrdiff_t>(top) -
                                                   static_cast<std::ptrdiff_t>(Code.size() + 4));
        Raw(&rel, 4);
    }
    // Overwrites the seven bytes at `at` with one instruction that does nothing.
    void Nop7(std::size_t at) {
        const std::uint8_t nop[7] = {0x0F, 0x1F, 0x80, 0, 0, 0, 0};
        std::memcpy(&Code[at], nop, 7);
    }

    // --- forward jumps: the returned position is bound later with Bind
    std::size_t Jcc(Cond c) {
        Bytes({0x0F, static_cast<std::uint8_t>(0x80 | c)});
        return Rel32();
    }
    std::size_t Jmp() {
        Code.push_back(0xE9);
        return Rel32();
    }
    void Bind(std::size_t jump) {
        Patch(jump, static_cast<std::int32_t>(Code.size() - (jump + 4)));
    }

    // Overwrites four bytes at `at` (an immediate written earlier).
    void Patch(std::size_t at, std::int32_t v) { std::memcpy(&Code[at], &v, 4); }

    // Appends the pool of 16-byte aligned constants (`constants` as bit
    // patterns, 8 bytes each) and points every pool operand at its constant.
    void FinishPool(const std::vector<std::uint64_t>& constants) {
        while (Code.size() % 16 != 0)
            Code.push_back(0xCC);
        const std::size_t pool = Code.size();
        for (const std::uint64_t c : constants)
            Raw(&c, 8);
        for (const auto& [at, constant] : poolUses_) {
            const std::size_t target = pool + 8 * static_cast<std::size_t>(constant);
            Patch(at, static_cast<std::int32_t>(target - (at + 4))); // from the instruction's end
        }
    }

  private:
    void Bytes(std::initializer_list<std::uint8_t> bytes) {
        for (const std::uint8_t b : bytes)
            Code.push_back(b);
    }
    void Raw(const void* p, std::size_t n) {
        const auto* b = static_cast<const std::uint8_t*>(p);
        for (std::size_t i = 0; i < n; ++i)
            Code.push_back(b[i]);
    }
    std::size_t Rel32() {
        const std::size_t at = Code.size();
        for (int i = 0; i < 4; ++i)
            Code.push_back(0);
        return at;
    }
    // The ModRM byte (and SIB, displacement) of a memory operand with the
    // register or opcode extension `reg`. A pool operand must end its
    // instruction, so that rip is right after its displacement.
    void ModRm(std::uint8_t reg, Mem m) {
        switch (m.Base) {
        case Mem::AtRax:
            Code.push_back(static_cast<std::uint8_t>(reg << 3));
            return;
        case Mem::AtRsp:
            if (m.Disp >= -128 && m.Disp <= 127) {
                Bytes({static_cast<std::uint8_t>(0x44 | reg << 3), 0x24});
                RspDisp8At.push_back(Code.size());
                Code.push_back(static_cast<std::uint8_t>(m.Disp));
            } else {
                Bytes({static_cast<std::uint8_t>(0x84 | reg << 3), 0x24});
                Raw(&m.Disp, 4);
            }
            return;
        case Mem::InPool:
            Code.push_back(static_cast<std::uint8_t>(0x05 | reg << 3));
            poolUses_.push_back({Rel32(), m.Disp});
            return;
        }
    }
    void Op(std::uint8_t opcode, std::uint8_t ext, Mem m) {
        Code.push_back(opcode);
        ModRm(ext, m);
    }
    void Sse(std::uint8_t prefix, std::uint8_t opcode, Xmm r, Mem m) {
        Bytes({prefix, 0x0F, opcode});
        ModRm(r, m);
    }
    void SseRegs(std::uint8_t prefix, std::uint8_t opcode, Xmm a, Xmm b) {
        Bytes({prefix, 0x0F, opcode, static_cast<std::uint8_t>(0xC0 | a << 3 | b)});
    }

    struct PoolUse {
        std::size_t At;
        int Constant;
    };
    std::vector<PoolUse> poolUses_;
};

} // namespace engine::x86
