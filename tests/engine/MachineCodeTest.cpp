// The machine code of formula trees: its pages are never writable and
// executable at once, it goes with its tree, it gives way to the interpreter
// where the system refuses executable pages or the tree is too large, and
// its instructions are encoded as the processor reads them.
#include "TestSupport.h"

#include "engine/FastForm.h"
#include "engine/Jit.h"
#include "engine/X86Emitter.h"

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The permissions ("r-xp", "rw-p" ...) of the mapping that holds `address`,
// or "" when nothing is mapped there.
std::string PermissionsAt(const void* address) {
    const auto a = reinterpret_cast<std::uintptr_t>(address);
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        std::uintptr_t from = 0, to = 0;
        char dash = 0;
        std::string perms;
        std::istringstream in(line);
        in >> std::hex >> from >> dash >> to >> perms;
        if (a >= from && a < to) return perms;
    }
    return "";
}

bool AnyMappingWritableAndExecutable() {
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        std::istringstream in(line);
        std::string range, perms;
        in >> range >> perms;
        if (perms.size() >= 3 && perms[1] == 'w' && perms[2] == 'x') return true;
    }
    return false;
}

class MachineCode : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!engine::MachineCodeAvailable()) GTEST_SKIP() << "no machine code here";
        engine::SelectEvaluator(engine::TEvaluator::MachineCode);
    }
    void TearDown() override { engine::SetProtectExecutable(nullptr); }
};

TEST_F(MachineCode, PagesAreExecutableOnlyOnceWrittenAndNotAfterTheTreeIsFreed) {
    std::vector<TTreePtr> trees;
    for (const char* f : {"x*x+y", "sin(x)/x+cos(3*x)", "sqrt(abs(x))-1/y", "x^y^z"})
        trees.push_back(CompileTree(f));
    for (const auto& t : trees) {
        ASSERT_NE(t->Fast->Program->MachineCode, nullptr);
        EXPECT_EQ(PermissionsAt(t->Fast->Program->MachineCode->Bytes()), "r-xp");
    }
    EXPECT_FALSE(AnyMappingWritableAndExecutable());
    const void* code = trees[0]->Fast->Program->MachineCode->Bytes();
    trees.clear();
    const std::string after = PermissionsAt(code);
    EXPECT_TRUE(after.empty() || after.find('x') == std::string::npos) << after;
    EXPECT_FALSE(AnyMappingWritableAndExecutable());
}

TEST_F(MachineCode, RefusedExecutablePagesLeaveTheInterpreter) {
    engine::SetProtectExecutable([](void*, std::size_t) { return false; });
    TTreePtr tree = CompileTree("x*y+sqrt(z)/2");
    ASSERT_NE(tree->Fast, nullptr);
    EXPECT_EQ(tree->Fast->Program->MachineCode, nullptr);
    EXPECT_FALSE(tree->Fast->Program->Code.empty()); // the interpreter's program
    VarX = 3, VarY = 4, VarZ = 16;
    EvalError = false;
    EXPECT_EQ(EvalTree(tree.get()), 14);
    EXPECT_FALSE(EvalError);
    engine::SetProtectExecutable(nullptr);
    TTreePtr again = CompileTree("x*y+sqrt(z)/2");
    EXPECT_NE(again->Fast->Program->MachineCode, nullptr);
    EXPECT_EQ(EvalTree(again.get()), 14);
}

TEST_F(MachineCode, AHugeTreeIsLeftToTheInterpreter) {
    std::string sum = "x";
    for (int i = 0; i < 210000; ++i)
        sum += "+x";
    TTreePtr tree = CompileTree(sum);
    EXPECT_EQ(tree->Fast->Program->MachineCode, nullptr);
    VarX = 1;
    EXPECT_EQ(EvalTree(tree.get()), 210001);
}

// Machine code for many trees in a row, freed in between, keeps giving the
// tree walk's results (pages are reused).
TEST_F(MachineCode, ReusedPagesRunTheNewCode) {
    for (int k = 0; k < 200; ++k) {
        TTreePtr tree = CompileTree("x*" + std::to_string(k) + "+y");
        VarX = 2, VarY = 1;
        ASSERT_EQ(EvalTree(tree.get()), 2.0 * k + 1) << k;
    }
}

// Each instruction form as the processor's manual encodes it.
TEST(Emitter, EncodesEachInstructionForm) {
    using namespace engine::x86;
    using Bytes = std::vector<std::uint8_t>;
    const struct {
        const char* name;
        void (*emit)(Emitter&);
        Bytes expected;
    } cases[] = {
        {"fld [rax]", [](Emitter& e) { e.Fld(AtRax()); }, {0xDD, 0x00}},
        {"fstp [rsp+8]", [](Emitter& e) { e.Fstp(AtRsp(8)); }, {0xDD, 0x5C, 0x24, 0x08}},
        {"fadd [rsp-16]", [](Emitter& e) { e.Fadd(AtRsp(-16)); }, {0xDC, 0x44, 0x24, 0xF0}},
        {"fmul [rsp+0x100]",
         [](Emitter& e) { e.Fmul(AtRsp(0x100)); },
         {0xDC, 0x8C, 0x24, 0x00, 0x01, 0x00, 0x00}},
        {"fsub [rax]", [](Emitter& e) { e.Fsub(AtRax()); }, {0xDC, 0x20}},
        {"fdiv [rax]", [](Emitter& e) { e.Fdiv(AtRax()); }, {0xDC, 0x30}},
        {"fldz", [](Emitter& e) { e.Fldz(); }, {0xD9, 0xEE}},
        {"fld1", [](Emitter& e) { e.Fld1(); }, {0xD9, 0xE8}},
        {"movsd xmm1, [rsp+8]",
         [](Emitter& e) { e.MovsdLoad(xmm1, AtRsp(8)); },
         {0xF2, 0x0F, 0x10, 0x4C, 0x24, 0x08}},
        {"movsd [rax], xmm0",
         [](Emitter& e) { e.MovsdStore(AtRax(), xmm0); },
         {0xF2, 0x0F, 0x11, 0x00}},
        {"mulsd xmm1, xmm0", [](Emitter& e) { e.Mulsd(xmm1, xmm0); }, {0xF2, 0x0F, 0x59, 0xC8}},
        {"sqrtsd xmm0, xmm0", [](Emitter& e) { e.Sqrtsd(xmm0, xmm0); }, {0xF2, 0x0F, 0x51, 0xC0}},
        {"xorpd xmm1, xmm1", [](Emitter& e) { e.Xorpd(xmm1, xmm1); }, {0x66, 0x0F, 0x57, 0xC9}},
        {"ucomisd xmm0, xmm1", [](Emitter& e) { e.Ucomisd(xmm0, xmm1); }, {0x66, 0x0F, 0x2E, 0xC1}},
        {"andpd xmm1, xmm0", [](Emitter& e) { e.AndpdRegs(xmm1, xmm0); }, {0x66, 0x0F, 0x54, 0xC8}},
        {"cmpordsd xmm0, xmm0",
         [](Emitter& e) { e.Cmpordsd(xmm0, xmm0); },
         {0xF2, 0x0F, 0xC2, 0xC0, 0x07}},
        {"movapd xmm1, xmm0", [](Emitter& e) { e.Movapd(xmm1, xmm0); }, {0x66, 0x0F, 0x28, 0xC8}},
        {"mov rax, imm64",
         [](Emitter& e) { e.MovRaxImm64(0x1122334455667788); },
         {0x48, 0xB8, 0x88, 0x77, 0x66, 0x55, 0x44, 0x33, 0x22, 0x11}},
        {"call rax", [](Emitter& e) { e.CallRax(); }, {0xFF, 0xD0}},
        {"mov byte [rax], 1", [](Emitter& e) { e.MovByteAtRaxOne(); }, {0xC6, 0x00, 0x01}},
        {"mov qword [rsp+8], 0",
         [](Emitter& e) { e.MovQwordZero(AtRsp(8)); },
         {0x48, 0xC7, 0x44, 0x24, 0x08, 0x00, 0x00, 0x00, 0x00}},
        {"sub rsp, 0x18",
         [](Emitter& e) { e.SubRsp(0x18); },
         {0x48, 0x81, 0xEC, 0x18, 0x00, 0x00, 0x00}},
        {"add rsp, 0x18",
         [](Emitter& e) { e.AddRsp(0x18); },
         {0x48, 0x81, 0xC4, 0x18, 0x00, 0x00, 0x00}},
        {"ret", [](Emitter& e) { e.Ret(); }, {0xC3}},
        // The row's loop, as objdump reads it.
        {"push rbx, rbp, r12..r15; mov rbx, rdi; mov r12, rsi; mov r13, rdx; mov r14, rcx; "
         "mov r15, r8; xor ebp, ebp",
         [](Emitter& e) { e.RowEnter(); },
         {0x53, 0x55, 0x41, 0x54, 0x41, 0x55, 0x41, 0x56, 0x41, 0x57, 0x48, 0x89, 0xFB, 0x49,
          0x89, 0xF4, 0x49, 0x89, 0xD5, 0x49, 0x89, 0xCE, 0x4D, 0x89, 0xC7, 0x31, 0xED}},
        {"pop r15..r12, rbp, rbx",
         [](Emitter& e) { e.RowLeave(); },
         {0x41, 0x5F, 0x41, 0x5E, 0x41, 0x5D, 0x41, 0x5C, 0x5D, 0x5B}},
        {"test r12, r12; je to the next instruction",
         [](Emitter& e) { e.Bind(e.JumpIfRowEmpty()); },
         {0x4D, 0x85, 0xE4, 0x0F, 0x84, 0x00, 0x00, 0x00, 0x00}},
        {"movsd xmm0, [rbx+rbp*8]; movsd [r13+0], xmm0",
         [](Emitter& e) { e.RowSetCell(); },
         {0xF2, 0x0F, 0x10, 0x04, 0xEB, 0xF2, 0x41, 0x0F, 0x11, 0x45, 0x00}},
        {"movsd [r14+rbp*8], xmm0",
         [](Emitter& e) { e.RowStoreResult(); },
         {0xF2, 0x41, 0x0F, 0x11, 0x04, 0xEE}},
        {"mov byte [rax], 0", [](Emitter& e) { e.MovByteAtRaxZero(); }, {0xC6, 0x00, 0x00}},
        {"movzx ecx, byte [rax]; mov [rsp+0x10], cl",
         [](Emitter& e) { e.RowKeepFlag(0x10); },
         {0x0F, 0xB6, 0x08, 0x88, 0x8C, 0x24, 0x10, 0x00, 0x00, 0x00}},
        {"movzx ecx, byte [rax]; or cl, [rsp+0x10]; mov [rax], cl; mov [r15+rbp], cl",
         [](Emitter& e) { e.RowStoreFlagWithKept(0x10); },
         {0x0F, 0xB6, 0x08, 0x0A, 0x8C, 0x24, 0x10, 0x00, 0x00, 0x00, 0x88, 0x08, 0x41, 0x88,
          0x0C, 0x2F}},
        {"inc rbp; cmp rbp, r12; jb to the inc",
         [](Emitter& e) { e.RowNext(0); },
         {0x48, 0xFF, 0xC5, 0x4C, 0x39, 0xE5, 0x0F, 0x82, 0xF4, 0xFF, 0xFF, 0xFF}},
        {"jp to the next instruction",
         [](Emitter& e) { e.Bind(e.Jcc(Parity)); },
         {0x0F, 0x8A, 0x00, 0x00, 0x00, 0x00}},
        {"jmp over a ret",
         [](Emitter& e) {
             const std::size_t j = e.Jmp();
             e.Ret();
             e.Bind(j);
         },
         {0xE9, 0x01, 0x00, 0x00, 0x00, 0xC3}},
        // andpd xmm0, [rip+disp]: the pool starts at 16 (after 8 bytes of
        // code and 8 of padding); rip after the instruction is 8.
        {"andpd xmm0, [pool constant 0]",
         [](Emitter& e) {
             e.Andpd(xmm0, Pool(0));
             e.FinishPool({0x7FFFFFFFFFFFFFFF});
         },
         {0x66, 0x0F, 0x54, 0x05, 0x08, 0x00, 0x00, 0x00, 0xCC, 0xCC, 0xCC, 0xCC,
          0xCC, 0xCC, 0xCC, 0xCC, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}},
    };
    for (const auto& c : cases) {
        Emitter e;
        c.emit(e);
        EXPECT_EQ(e.Code, c.expected) << c.name;
    }
}

} // namespace
