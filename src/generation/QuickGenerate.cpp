// Quick regeneration of one body.
#include "generation/QuickGenerate.h"

#include "base/Questions.h"
#include "model/StellarBody.h"

namespace kalvion {

namespace {

constexpr double kQuickNameSize = 4;

// The answer of a question the caller has already asked.
const TConfirmFunc &AlreadyYes()
{
    static const TConfirmFunc yes = [](const std::string &, const std::string &) { return true; };
    return yes;
}

bool Ask(const TConfirmFunc &confirm, const char *text, const char *caption)
{
    return confirm ? confirm(text, caption) : UNANSWERED_QUESTION_ANSWER;
}

bool GenerateContents(TSystemGenerator &gen, TStellarBody &body, bool populations, const TConfirmFunc &confirm,
                      bool rename)
{
    if (!body.Children.empty() && !Ask(confirm, GENERATE_CONTENTS_TEXT, GENERATE_CONTENTS_CAPTION))
        return false;
    body.DeleteChildren();
    body.ModifySystem();
    QuickGenerateDispatch(gen, body);
    if (populations)
        gen.GeneratePopulations(body);
    if (rename) {
        body.ClearChildrenNames();
        gen.ReGenerateNames(body, kQuickNameSize);
    } else {
        body.SetChildDesignations(body.Name);
    }
    return true;
}

} // namespace

void QuickGenerateDispatch(TSystemGenerator &gen, TStellarBody &body)
{
    switch (body.TypeID) {
    case BODY_TYPE_NOTASSIGNED: gen.GenerateSystemInfo(body); break;
    case BODY_TYPE_STAR: gen.GeneratePlanets(body); break;
    case BODY_TYPE_MULT: gen.GenerateMultSystem2(body); break;
    case BODY_TYPE_FREEOBJECT:
    case BODY_TYPE_BROWNDWARF:
    case BODY_TYPE_TERRESTRIAL:
    case BODY_TYPE_GASGIANT: gen.GenerateMoons(body); break;
    case BODY_TYPE_CLOSEMULT: gen.GenerateCloseMult(body); break;
    case BODY_TYPE_PLANETSYSTEM: gen.GeneratePlanetSystem(body); break;
    default: break;
    }
}

void RandomSystem(TStellarBody &body, bool populations)
{
    TSystemGenerator gen;
    RandomSystem(gen, body, populations);
}

void RandomSystem(TSystemGenerator &gen, TStellarBody &body, bool populations)
{
    body.DeleteChildren();
    body.ModifySystem();
    gen.WithPopulations = populations;
    QuickGenerateDispatch(gen, body);
    if (populations)
        gen.GeneratePopulations(body);
    body.ClearChildrenNames();
    gen.GenerateNames(body, kQuickNameSize);
}

bool QuickGenerateChildren(TStellarBody &body, bool populations, const TConfirmFunc &confirm)
{
    // The question comes before any generator exists: a No costs nothing.
    if (body.TypeID != BODY_TYPE_NOTASSIGNED && !Ask(confirm, REGENERATE_SYSTEM_TEXT, REGENERATE_SYSTEM_CAPTION))
        return false;
    TSystemGenerator gen;
    return QuickGenerateChildren(gen, body, populations, AlreadyYes());
}

bool QuickGenerateChildren(TSystemGenerator &gen, TStellarBody &body, bool populations, const TConfirmFunc &confirm)
{
    // A declined question leaves the body exactly as it was: no new
    // populations, names or label colours, and no modified flag.
    if (body.TypeID != BODY_TYPE_NOTASSIGNED && !Ask(confirm, REGENERATE_SYSTEM_TEXT, REGENERATE_SYSTEM_CAPTION))
        return false;
    body.ModifySystem();
    if (body.TypeID == BODY_TYPE_NOTASSIGNED) {
        gen.GenerateSystemInfo(body);
    } else {
        body.DeleteChildren();
        gen.GenerateSingle(body);
    }
    if (populations)
        gen.GeneratePopulations(body);
    gen.GenerateNames(body, kQuickNameSize);
    return true;
}

bool QuickGenerateSystemContents(TStellarBody &body, bool populations, const TConfirmFunc &confirm)
{
    if (!body.Children.empty() && !Ask(confirm, GENERATE_CONTENTS_TEXT, GENERATE_CONTENTS_CAPTION))
        return false;
    TSystemGenerator gen;
    return GenerateContents(gen, body, populations, AlreadyYes(), true);
}

bool QuickGenerateSystemContents(TSystemGenerator &gen, TStellarBody &body, bool populations,
                                 const TConfirmFunc &confirm)
{
    return GenerateContents(gen, body, populations, confirm, true);
}

bool QuickGenerateSystemContentsDesignated(TStellarBody &body, bool populations, const TConfirmFunc &confirm)
{
    if (!body.Children.empty() && !Ask(confirm, GENERATE_CONTENTS_TEXT, GENERATE_CONTENTS_CAPTION))
        return false;
    TSystemGenerator gen;
    return GenerateContents(gen, body, populations, AlreadyYes(), false);
}

bool QuickGenerateSystemContentsDesignated(TSystemGenerator &gen, TStellarBody &body, bool populations,
                                           const TConfirmFunc &confirm)
{
    return GenerateContents(gen, body, populations, confirm, false);
}

} // namespace kalvion
