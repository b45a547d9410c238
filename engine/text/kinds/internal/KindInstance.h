#pragma once

#include "engine/text/OutputKind.h"

// Included by the kinds' own files only, each instantiating it for its class:
// template const OutputKind &theKind<TextKind>();
template <class Kind>
const OutputKind &theKind()
{
    static const Kind kind;
    return kind;
}
