#include "scriptnames/OwnedObjects.h"

#include "model/StellarBody.h"

#include <stdexcept>

namespace kalvion::names {

void FreeScriptObject(const TNames &n, TScriptAppHost &, const TScriptValue &obj)
{
    void *p = obj.Obj.Get();
    if (!p)
        return;
    if (n.Pool().Free(p))
        return;
    // Objects a script made that live outside the pool (its dialogs, the
    // nodes of its trees) are freed by their class.
    for (const TScriptClassInfo *c = obj.Obj.Class(); c; c = c->Parent)
        if (c->Destroy && c->Destroy(p))
            return;
    const std::string cls = obj.Obj.Class() ? obj.Obj.Class()->Name : std::string("object");
    throw std::runtime_error("FreeObject: this " + cls +
                             " belongs to the program (a system, a sector or the main window) and cannot be freed");
}

std::weak_ptr<void> HostToken(TScriptAppHost &host)
{
    return host.ScriptObjects().SelfToken();
}

void EndTreeLifetime(TStellarBody &body)
{
    body.EndLifetime();
    for (auto &c : body.Children)
        EndTreeLifetime(*c);
}

std::unique_ptr<TStellarBody> TakeScriptBody(const TNames &n, TStellarBody &body, const char *routine)
{
    std::unique_ptr<TStellarBody> owned = n.Pool().Release(&body);
    if (!owned)
        throw std::runtime_error(std::string(routine) +
                                 ": the body already belongs to a system; create a new body or copy it");
    return owned;
}

} // namespace kalvion::names
