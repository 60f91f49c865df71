#pragma once
// Lets GoogleTest show engine strings as text in failure messages.

#include <ostream>

#include "common/EngineString.h"

inline void PrintTo(const EngineString& text, std::ostream* out) { *out << '"' << text.view() << '"'; }
