#include "engine/formulaentry.h"

#include "engine/vectorstate.h"

namespace engine {
namespace {

FormulaEntryProbe entryProbe = nullptr;

} // namespace

void enterFormula()
{
    clearUpperVectorState();
    if (entryProbe) [[unlikely]]
        entryProbe();
}

void setFormulaEntryProbe(FormulaEntryProbe probe) { entryProbe = probe; }

} // namespace engine
