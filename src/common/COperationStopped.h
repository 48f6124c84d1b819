#pragma once

#include "common/CException.h"

// The user stopped the operation that was working. The operation catches it, removes what it
// wrote and says so.
class COperationStopped final : public CException {};
