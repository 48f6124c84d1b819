#pragma once

#include "common/CException.h"

// Memory ran out while a command was handled.
class CMemoryException final : public CException {};
