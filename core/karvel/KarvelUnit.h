// KarvelUnit: the logic core of Ostrel. Sentences, their text syntax, the
// theory and its file format, dialectical interpretations and template
// matching. Pure C++; nothing here knows about windows.
#pragma once

#include "KarvelDerivation.h"
#include "KarvelMatching.h"
#include "KarvelSentence.h"
#include "KarvelSyntax.h"
#include "KarvelTextIndex.h"
#include "KarvelTheory.h"
