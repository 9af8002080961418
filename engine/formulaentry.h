#pragma once
// What every distance formula does first, in one place.

namespace engine {

// Clears the vector state that libraries leave behind (engine/vectorstate.h),
// so that the formula's calls into libm cost what they should.
void enterFormula();

// Tests: a function called at every formula's entry, right after the state
// was cleared, to look at it there; null for none.
using FormulaEntryProbe = void (*)();
void setFormulaEntryProbe(FormulaEntryProbe probe);

} // namespace engine
