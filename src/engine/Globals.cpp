// The evaluation cells and the floating-point set-up of the process.
#include "engine/Engine.h"

#include <cfenv>
#if defined(__x86_64__) || defined(__i386__)
#include <fpu_control.h>
#endif

double VarX = 0.0, VarY = 0.0, VarZ = 0.0, VarT = 0.0, VarU = 0.0, VarV = 0.0, VarF = 0.0;
bool EvalError = false;

void InitFloatingPoint() {
    // Overflow gives an infinity and an invalid operation a NaN, silently:
    // every plotting loop filters non-finite values itself.
    std::feclearexcept(FE_ALL_EXCEPT); // nothing pending when the masks change
    fedisableexcept(FE_ALL_EXCEPT);
    std::fesetround(FE_TONEAREST);
#if defined(__x86_64__) || defined(__i386__)
    // long double arithmetic on the x87 unit: 64-bit significand, all masked.
    fpu_control_t cw = _FPU_EXTENDED | _FPU_RC_NEAREST | _FPU_MASK_IM | _FPU_MASK_DM |
                       _FPU_MASK_ZM | _FPU_MASK_OM | _FPU_MASK_UM | _FPU_MASK_PM;
    _FPU_SETCW(cw);
#endif
}
