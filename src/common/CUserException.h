#pragma once

#include "common/CException.h"

// Ends an action whose failure has already been shown to the user; the dispatcher shows nothing.
class CUserException final : public CException {};
