#include "common/CException.h"

CException::~CException() = default;
